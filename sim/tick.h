// The fixed 20 ms simulation step.
#pragma once

#include "app/state.h"

// Advances the model by one step from the held keys. Pure arithmetic, no GL
// or GLUT: the fields are updated in order, each computed in double precision
// and stored as a float.
void stepModel(TankModel &model, const KeyState &keys);

// GLUT timer callback: re-arms itself first, steps tankModel, prints the
// speed and heading while the trace is on and asks for a redraw.
void tick(int value);
