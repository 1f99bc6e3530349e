// Every key the program knows, each described once: what it does, its line
// of the printed help, and its button on the page. A new key is a row here
// and what it does: a flag of KeyState the step acts on, or an action.
#pragma once

#include "app/state.h"

struct KeyBinding {
    int code;              // the byte of its lower-case letter (both cases work), or,
    bool special;          // for a special key, its GLUT code (GLUT_KEY_UP)
    bool KeyState::*held;  // held from press to release, for the step, or
    void (*act)();         // done at once on each press
    const char *help;      // its line of the printed help, byte for byte, or null
    const char *button;    // the text of its button on the page, in UTF-8
    const char *title;     // the name of the button's title among the page's words
};

extern const KeyBinding keyBindings[];
extern const int keyBindingCount;

// The binding of a key as the toolkit reports it, letters in either case;
// null for a key that does nothing.
const KeyBinding *keyBinding(int code, bool special);
