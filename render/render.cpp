#include "render/render.h"

// GLUT's header brings GL's and GLU's, after what Windows' gl.h needs before them.
#include <GL/glut.h>

#include "app/state.h"
#include "app/trace.h"
#include "gl/part.h"
#include "render/tank_shape.h"

// Corners of the unit cube, indexed as the face table below uses them.
static const float cubeCorners[8][3] = {
    {-0.5f, -0.5f, -0.5f}, {0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, -0.5f},
    {-0.5f, 0.5f, -0.5f},  {-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, 0.5f},
    {0.5f, 0.5f, 0.5f},    {-0.5f, 0.5f, 0.5f},
};

// Each face counter-clockwise seen from outside, with its colour. Scaled by
// positive factors, every box of the tank keeps red at its front (+Y),
// green on its right (+X) and magenta on top.
struct CubeFace {
    int corner[4];
    float colour[3];
};

static const CubeFace cubeFaces[6] = {
    {{1, 0, 3, 2}, {0, 1, 1}},  // bottom: cyan
    {{2, 3, 7, 6}, {1, 0, 0}},  // +Y: red
    {{3, 0, 4, 7}, {1, 1, 0}},  // -X: yellow
    {{6, 5, 1, 2}, {0, 1, 0}},  // +X: green
    {{4, 5, 6, 7}, {1, 0, 1}},  // top: magenta
    {{5, 4, 0, 1}, {0, 0, 1}},  // -Y: blue
};

void reshape(int width, int height)
{
    glViewport(0, 0, width, height);
    bool hasArea = width > 0 && height > 0;
    if (hasArea) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
    }
    traceReshape(appState.orthographic);
    // A minimised window has no shape to fit: keep the last projection
    // rather than divide by zero.
    if (hasArea) {
        double w = width;
        double h = height;
        if (appState.orthographic) {
            if (width < height)
                glOrtho(-20, 20, -20 * h / w, 20 * h / w, -100, 100);
            else
                glOrtho(-20 * w / h, 20 * w / h, -20, 20, -100, 100);
        } else {
            gluPerspective(appState.fieldOfView, w / h, 1, 100);
        }
    }
    glMatrixMode(GL_MODELVIEW);
}

void drawGround(float half)
{
    glBegin(GL_POLYGON);
    glVertex3f(half, half, 0);
    glVertex3f(-half, half, 0);
    glVertex3f(-half, -half, 0);
    glVertex3f(half, -half, 0);
    glEnd();
}

void drawFace(const float *a, const float *b, const float *c, const float *d,
              const float *colour)
{
    glBegin(GL_POLYGON);
    glColor3fv(colour);
    glVertex3fv(a);
    glVertex3fv(b);
    glVertex3fv(c);
    glVertex3fv(d);
    glEnd();
}

void drawCube()
{
    for (const CubeFace &f : cubeFaces)
        drawFace(cubeCorners[f.corner[0]], cubeCorners[f.corner[1]],
                 cubeCorners[f.corner[2]], cubeCorners[f.corner[3]], f.colour);
}

static void drawBox(const BoxSize &size, const char *part)
{
    glPushMatrix();
    glScalef(size.width, size.length, size.height);
    namePart(part);
    drawCube();
    glPopMatrix();
}

// The products are formed in double and handed to GL as floats.
float tankPitch(const TankModel &m)
{
    return static_cast<float>(m.speed * tankShape.pitchPerSpeed);
}

float tankRoll(const TankModel &m)
{
    return static_cast<float>(tankShape.rollPerTurn * m.speed * m.wheelAngle);
}

const DrawnValue drawnValues[] = {
    {"x", &TankModel::x, nullptr, nullptr, nullptr},
    {"y", &TankModel::y, nullptr, nullptr, nullptr},
    {"speed", &TankModel::speed, nullptr, nullptr, nullptr},
    {"heading", &TankModel::heading, nullptr, nullptr, nullptr},
    {"wheelAngle", &TankModel::wheelAngle, nullptr, nullptr, nullptr},
    {"turretAngle", &TankModel::turretAngle, nullptr, nullptr, nullptr},
    {"cannonAngle", &TankModel::cannonAngle, nullptr, nullptr, nullptr},
    {"pitch", nullptr, tankPitch, "{speed} \xC3\x97 %g", &tankShape.pitchPerSpeed},
    {"roll", nullptr, tankRoll, "%g \xC3\x97 {speed} \xC3\x97 {wheelAngle}",
     &tankShape.rollPerTurn},
};
const int drawnValueCount = sizeof drawnValues / sizeof drawnValues[0];

float drawnValue(const DrawnValue &value, const TankModel &m)
{
    return value.field ? m.*value.field : value.derived(m);
}

void drawTank()
{
    const TankModel &m = tankModel;
    const TankShape &t = tankShape;
    // One quadric with GLU's defaults for the wheels, made once and kept.
    static GLUquadric *wheel = gluNewQuadric();

    glPushMatrix();
    // Turn about the middle of the rear axle, 2.8 behind the hull's centre.
    glTranslatef(0, -t.rearAxleY, 0);
    glRotatef(m.heading, 0, 0, 1);
    glTranslatef(0, t.rearAxleY, 0);
    // Lift so the wheels (radius 0.5, axles 0.2 below the frame) touch z = 0.
    glTranslatef(0, 0, t.rideHeight);
    namePart("tank frame");

    glColor3f(0, 0, 0);
    for (const WheelMount &w : t.wheels) {
        glPushMatrix();
        glTranslatef(w.x, w.y, w.z);
        if (w.steers)
            glRotatef(m.wheelAngle, 0, 0, 1);
        glRotatef(t.wheelTurn, 0, 1, 0);  // cylinder axis from +Z to +X
        namePart(w.name);
        if (wheel)
            gluCylinder(wheel, t.wheelRadius, t.wheelRadius, t.wheelWidth, t.wheelSlices,
                        t.wheelStacks);
        glPopMatrix();
    }

    // Pitch with speed and roll in turns, for the body but not the wheels.
    glRotatef(tankPitch(m), 1, 0, 0);
    glRotatef(tankRoll(m), 0, 1, 0);
    namePart("body frame");

    drawBox(t.hull, "hull");

    glTranslatef(0, 0, t.turretLift);
    glRotatef(m.turretAngle, 0, 0, 1);
    namePart("turret frame");
    drawBox(t.turret, "turret");

    // The cannon pivots on the middle of the turret's front face.
    glTranslatef(0, t.cannonPivotY, 0);
    glRotatef(m.cannonAngle, 1, 0, 0);
    glTranslatef(0, t.cannonReachY, 0);
    namePart("cannon frame");
    drawBox(t.cannon, "cannon");

    glPopMatrix();
}

void drawScene()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    const Camera &c = appState.camera;
    gluLookAt(c.eye[0], c.eye[1], c.eye[2], c.centre[0], c.centre[1], c.centre[2],
              c.up[0], c.up[1], c.up[2]);
    namePart("world");
    glColor3f(tankShape.groundGrey, tankShape.groundGrey, tankShape.groundGrey);
    drawGround(tankShape.groundHalf);
    glPushMatrix();
    glTranslatef(tankModel.x, tankModel.y, 0);
    drawTank();
    glPopMatrix();
}

void display()
{
    drawScene();
    glFlush();
    glutSwapBuffers();
}
