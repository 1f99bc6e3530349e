#include "app/help.h"

#include <cstring>

#include "input/keys.h"
#include "platform/platform.h"

static void print(const char *text)
{
    platformWrite(text, std::strlen(text));
}

// The title, then each key's line in the table's order.
void printHelp()
{
    print("\n\nDesenho de um quadrado\n");
    for (int i = 0; i < keyBindingCount; ++i)
        if (keyBindings[i].help)
            print(keyBindings[i].help);
}
