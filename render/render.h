// Everything that reaches the window: projection, frame and tank geometry.
#pragma once

#include "app/state.h"

// GLUT reshape callback: fits the viewport and sets the projection chosen by
// appState.orthographic. Leaves the matrix mode at GL_MODELVIEW.
void reshape(int width, int height);

// GLUT display callback: draws the frame, then shows it.
void display();

// Draws the whole frame into the back buffer without showing it.
void drawScene();

// One square in the plane z = 0 from (-half, -half) to (half, half), in the
// current colour.
void drawGround(float half);

// One flat-coloured quadrilateral with its corners in the given order.
void drawFace(const float *a, const float *b, const float *c, const float *d,
              const float *colour);

// The unit cube centred on the origin, each face in its own colour.
void drawCube();

// The body's attitude in degrees, as the drawing turns it: pitch about X
// with speed, roll about Y in turns.
float tankPitch(const TankModel &model);
float tankRoll(const TankModel &model);

// A value of the model as the drawing uses it, by name: the tree of
// transforms (render/diagram.h) names each where it enters the drawing, and
// the page shows it live. Either a field of the model, or a value the
// drawing works out from the fields, with how: formula names the fields as
// {name} and writes the constant as %g.
struct DrawnValue {
    const char *name;
    float TankModel::*field;
    float (*derived)(const TankModel &model);
    const char *formula;
    const double *constant;
};
extern const DrawnValue drawnValues[];
extern const int drawnValueCount;

// A drawn value's value in a model.
float drawnValue(const DrawnValue &value, const TankModel &model);

// The tank in its own frame, posed from tankModel. Leaves the modelview
// matrix as it found it. Each part is named where the drawing reaches its
// frame (namePart, gl/part.h): the page's tree and the diagram in docs/
// are read from this drawing's own calls, its names and its steps.
void drawTank();
