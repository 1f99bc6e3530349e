#include "app/help.h"

#include <cstdio>

#include "input/keys.h"

// The title, then each key's line in the table's order.
void printHelp()
{
    printf("%s", "\n\nDesenho de um quadrado\n");
    for (int i = 0; i < keyBindingCount; ++i)
        if (keyBindings[i].help)
            printf("%s", keyBindings[i].help);
}
