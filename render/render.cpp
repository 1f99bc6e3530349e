#include "render/render.h"

#include <GL/glut.h>
#include <cstdio>

#include "app/state.h"
#include "platform/platform.h"

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

// Where the wheels sit in the tank frame, and whether they steer.
struct WheelMount {
    float x, y, z;
    bool steers;
};

static const WheelMount wheelMounts[4] = {
    {2.0f, 2.8f, -0.2f, true},     // front right
    {2.0f, -2.8f, -0.2f, false},   // rear right
    {-2.4f, 2.8f, -0.2f, true},    // front left
    {-2.4f, -2.8f, -0.2f, false},  // rear left
};

void reshape(int width, int height)
{
    glViewport(0, 0, width, height);
    bool hasArea = width > 0 && height > 0;
    if (hasArea) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
    }
    if (appState.debug)
        printf("Reshape %s\n", appState.orthographic ? "ORTHO" : "PERSPECTIVE");
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
            platformPerspective(appState.fieldOfView, w / h, 1, 100);
        }
    }
    glMatrixMode(GL_MODELVIEW);
}

void drawGround(float half)
{
    platformBeginPolygon();
    platformVertex(half, half, 0);
    platformVertex(-half, half, 0);
    platformVertex(-half, -half, 0);
    platformVertex(half, -half, 0);
    platformEndPolygon();
}

void drawFace(const float *a, const float *b, const float *c, const float *d,
              const float *colour)
{
    platformBeginPolygon();
    platformPolygonColour(colour);
    platformVertexv(a);
    platformVertexv(b);
    platformVertexv(c);
    platformVertexv(d);
    platformEndPolygon();
}

void drawCube()
{
    for (const CubeFace &f : cubeFaces)
        drawFace(cubeCorners[f.corner[0]], cubeCorners[f.corner[1]],
                 cubeCorners[f.corner[2]], cubeCorners[f.corner[3]], f.colour);
}

static void drawBox(float sx, float sy, float sz)
{
    glPushMatrix();
    glScalef(sx, sy, sz);
    drawCube();
    glPopMatrix();
}

void drawTank()
{
    const TankModel &m = tankModel;

    glPushMatrix();
    // Turn about the middle of the rear axle, 2.8 behind the hull's centre.
    glTranslatef(0, -2.8f, 0);
    glRotatef(m.heading, 0, 0, 1);
    glTranslatef(0, 2.8f, 0);
    // Lift so the wheels (radius 0.5, axles 0.2 below the frame) touch z = 0.
    glTranslatef(0, 0, 0.7f);

    glColor3f(0, 0, 0);
    for (const WheelMount &w : wheelMounts) {
        glPushMatrix();
        glTranslatef(w.x, w.y, w.z);
        if (w.steers)
            glRotatef(m.wheelAngle, 0, 0, 1);
        glRotatef(90, 0, 1, 0);  // cylinder axis from +Z to +X
        platformCylinder(0.5, 0.5, 0.4, 20, 2);
        glPopMatrix();
    }

    // Pitch with speed and roll in turns, for the body but not the wheels.
    // The products are formed in double and handed to GL as floats.
    glRotatef(static_cast<float>(m.speed * 6.0), 1, 0, 0);
    glRotatef(static_cast<float>(2.0 * m.speed * m.wheelAngle), 0, 1, 0);

    drawBox(4, 7, 1);  // hull

    glTranslatef(0, 0, 0.75f);
    glRotatef(m.turretAngle, 0, 0, 1);
    drawBox(2, 2, 0.5f);  // turret

    // The cannon pivots on the middle of the turret's front face.
    glTranslatef(0, 1, 0);
    glRotatef(m.cannonAngle, 1, 0, 0);
    glTranslatef(0, 2, 0);
    drawBox(0.4f, 4, 0.4f);  // cannon

    glPopMatrix();
}

void drawScene()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    const Camera &c = appState.camera;
    platformLookAt(c.eye, c.centre, c.up);
    glColor3f(0.5f, 0.5f, 0.5f);
    drawGround(25);
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
