// The console trace: every line the program writes on standard output but
// the key help (app/help.cpp), each in its one format. The trace is on
// while appState.debug is true; each function prints only then, but for
// the line that says the trace was turned on or off.
#pragma once

#include "app/state.h"

// A simulation step: the speed and heading it left.
void traceStep(const TankModel &model);

// The window's projection was fitted again.
void traceReshape(bool orthographic);

// A key that types a byte, pressed or released; a special key by its GLUT
// code.
void traceKey(unsigned char key, bool pressed);
void traceSpecialKey(int key, bool pressed);

// The D key turned the trace on or off: said whichever it now is.
void traceSwitched(bool on);
