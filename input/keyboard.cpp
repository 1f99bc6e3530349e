#include "input/keyboard.h"

#include "app/state.h"
#include "app/trace.h"
#include "input/keys.h"

// A press sets a held key's flag or does the key's action; a release clears
// the flag. Every key, known or not, is echoed while the trace is on.
static void pressed(int code, bool special)
{
    if (const KeyBinding *k = keyBinding(code, special)) {
        if (k->held)
            appState.keys.*k->held = true;
        if (k->act)
            k->act();
    }
}

static void released(int code, bool special)
{
    const KeyBinding *k = keyBinding(code, special);
    if (k && k->held)
        appState.keys.*k->held = false;
}

void onKeyDown(unsigned char key, int mouseX, int mouseY)
{
    (void)mouseX;
    (void)mouseY;
    pressed(key, false);
    traceKey(key, true);
}

void onKeyUp(unsigned char key, int mouseX, int mouseY)
{
    (void)mouseX;
    (void)mouseY;
    released(key, false);
    traceKey(key, false);
}

void onSpecialDown(int key, int mouseX, int mouseY)
{
    (void)mouseX;
    (void)mouseY;
    pressed(key, true);
    traceSpecialKey(key, true);
}

void onSpecialUp(int key, int mouseX, int mouseY)
{
    (void)mouseX;
    (void)mouseY;
    released(key, true);
    traceSpecialKey(key, false);
}
