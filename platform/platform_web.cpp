// The browser: emscripten's GLUT and its emulation of legacy GL on WebGL.
// The emulation has no GL_POLYGON, ignores glPolygonMode, keeps a colour
// given inside glBegin for the first vertex only, has no GLU quadrics, and
// its gluLookAt does nothing; each is built here from what it does have.
// The page (web/bridge.js) reaches the program only through the functions
// exported at the end of this file and the documented Module callbacks.
#include <GL/gl.h>
#include <GL/glut.h>
#include <cmath>
#include <emscripten.h>

#include "app/state.h"
#include "input/keyboard.h"
#include "platform/platform.h"
#include "render/render.h"

static PolygonMode polygonMode = PolygonMode::fill;
static bool polygonHasColour = false;
static float polygonColour[3];

// A convex polygon's area is a triangle fan over its corners in order; its
// outline a line loop; its points the corners themselves.
static GLenum primitiveFor(PolygonMode mode)
{
    switch (mode) {
    case PolygonMode::line: return GL_LINE_LOOP;
    case PolygonMode::point: return GL_POINTS;
    case PolygonMode::fill: break;
    }
    return GL_TRIANGLE_FAN;
}

void platformBeginPolygon()
{
    polygonHasColour = false;
    glBegin(primitiveFor(polygonMode));
}

void platformPolygonColour(const float *rgb)
{
    for (int i = 0; i < 3; ++i)
        polygonColour[i] = rgb[i];
    polygonHasColour = true;
}

// The polygon's colour goes with every vertex, so that all its vertices get it.
void platformVertex(float x, float y, float z)
{
    if (polygonHasColour)
        glColor3fv(polygonColour);
    glVertex3f(x, y, z);
}

void platformVertexv(const float *xyz)
{
    platformVertex(xyz[0], xyz[1], xyz[2]);
}

void platformEndPolygon()
{
    glEnd();
}

// The cylinder as GLU builds it: slice i at the angle 2 pi i / slices from
// +Y towards +X, stack j at the height j / stacks of the way up.
struct CylinderShape {
    double baseRadius, topRadius, height;
    int slices, stacks;
};

static void cylinderVertex(const CylinderShape &c, int slice, int stack)
{
    const double along = double(stack) / c.stacks;
    const double radius = c.baseRadius + (c.topRadius - c.baseRadius) * along;
    const double angle = 2 * M_PI * (slice % c.slices) / c.slices;
    glVertex3f(static_cast<float>(radius * std::sin(angle)),
               static_cast<float>(radius * std::cos(angle)),
               static_cast<float>(c.height * along));
}

void platformCylinder(double baseRadius, double topRadius, double height, int slices,
                      int stacks)
{
    const CylinderShape c{baseRadius, topRadius, height, slices, stacks};
    switch (polygonMode) {
    case PolygonMode::fill:
        // One band of quads per stack, as a triangle strip with the same
        // vertices in the same order.
        for (int j = 0; j < stacks; ++j) {
            glBegin(GL_TRIANGLE_STRIP);
            for (int i = 0; i <= slices; ++i) {
                cylinderVertex(c, i, j);
                cylinderVertex(c, i, j + 1);
            }
            glEnd();
        }
        break;
    case PolygonMode::line:
        // The edges of every quad: a ring at each stack, a line along each
        // slice.
        glBegin(GL_LINES);
        for (int j = 0; j <= stacks; ++j) {
            for (int i = 0; i < slices; ++i) {
                cylinderVertex(c, i, j);
                cylinderVertex(c, i + 1, j);
                if (j < stacks) {
                    cylinderVertex(c, i, j);
                    cylinderVertex(c, i, j + 1);
                }
            }
        }
        glEnd();
        break;
    case PolygonMode::point:
        glBegin(GL_POINTS);
        for (int j = 0; j <= stacks; ++j)
            for (int i = 0; i < slices; ++i)
                cylinderVertex(c, i, j);
        glEnd();
        break;
    }
}

static void normalise(double v[3])
{
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0)
        return;
    for (int i = 0; i < 3; ++i)
        v[i] /= length;
}

static void cross(const double a[3], const double b[3], double out[3])
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// The look-at matrix as GLU forms it: rotate the view direction onto -Z and
// up onto +Y, then move the eye to the origin.
void platformLookAt(const float *eye, const float *centre, const float *up)
{
    double forward[3] = {double(centre[0]) - eye[0], double(centre[1]) - eye[1],
                         double(centre[2]) - eye[2]};
    const double upward[3] = {up[0], up[1], up[2]};
    normalise(forward);
    double side[3], newUp[3];
    cross(forward, upward, side);
    normalise(side);
    cross(side, forward, newUp);
    const GLfloat m[16] = {
        float(side[0]),
        float(newUp[0]),
        float(-forward[0]),
        0,
        float(side[1]),
        float(newUp[1]),
        float(-forward[1]),
        0,
        float(side[2]),
        float(newUp[2]),
        float(-forward[2]),
        0,
        0,
        0,
        0,
        1,
    };
    glMultMatrixf(m);
    glTranslatef(-eye[0], -eye[1], -eye[2]);
}

// The emulation's gluPerspective replaces the matrix; this multiplies, as
// GLU does.
void platformPerspective(double fovy, double aspect, double zNear, double zFar)
{
    const double half = fovy / 2 * M_PI / 180;
    const double cotangent = std::cos(half) / std::sin(half);
    const double depth = zFar - zNear;
    const GLfloat m[16] = {
        float(cotangent / aspect),
        0,
        0,
        0,
        0,
        float(cotangent),
        0,
        0,
        0,
        0,
        float(-(zFar + zNear) / depth),
        -1,
        0,
        0,
        float(-2 * zNear * zFar / depth),
        0,
    };
    glMultMatrixf(m);
}

void platformPolygonMode(PolygonMode mode)
{
    polygonMode = mode;
}

// A chain of browser timers, each asked for 20 ms, runs late by a few
// milliseconds every time. Each tick is aimed at an absolute deadline, one
// period after the last; after a long stall (a hidden tab) the count starts
// afresh from now rather than racing through the missed ticks.
static double nextDeadline = 0;

unsigned platformTickDelay(int tickMillis)
{
    const double now = emscripten_get_now();
    const double farBehind = 5.0 * tickMillis;
    if (nextDeadline == 0 || now - nextDeadline > farBehind)
        nextDeadline = now;
    nextDeadline += tickMillis;
    const double wait = nextDeadline - now;
    return wait > 0 ? static_cast<unsigned>(std::lround(wait)) : 0;
}

// The page's hooks, looked up at every call so that whoever watches (the
// page, a test) may change them at any time.
EM_JS(void, announceFrame, (), {
    if (Module['onFrame'])
        Module['onFrame']();
});
EM_JS(void, announceEnding, (), {
    if (Module['onEnding'])
        Module['onEnding']();
});

void platformSwapBuffers()
{
    glutSwapBuffers();
    announceFrame();
}

void platformInit() {}

// A real end of the runtime: GLUT's timer, frames and key handlers stop with
// it, where a plain exit() would only unwind the current callback. The page
// is told first, while the last frame is still on the canvas.
void platformExit(int status)
{
    announceEnding();
    emscripten_force_exit(status);
}

// What freeglut does on the desktop and emscripten's GLUT does not do here,
// for the page to call: deliver a key as the toolkit would, and tell the
// program its canvas has a new size. Called from the browser's event
// handlers, one at a time, like any GLUT callback.
extern "C" {

// A key press or release: special keys by their GLUT code, others by the
// byte they type.
EMSCRIPTEN_KEEPALIVE void webDeliverKey(int special, int pressed, int code)
{
    if (special) {
        if (pressed)
            onSpecialDown(code, 0, 0);
        else
            onSpecialUp(code, 0, 0);
    } else {
        const auto key = static_cast<unsigned char>(code);
        if (pressed)
            onKeyDown(key, 0, 0);
        else
            onKeyUp(key, 0, 0);
    }
}

// The canvas's drawing buffer has just been set to width x height pixels:
// reshape as a window of that size, and draw at once, since setting the
// size cleared the canvas.
EMSCRIPTEN_KEEPALIVE void webResize(int width, int height)
{
    reshape(width, height);
    display();
}

// Draws a frame now, from the model as it stands.
EMSCRIPTEN_KEEPALIVE void webRedraw()
{
    display();
}

// Where the model record lives in the module's memory, for the page to read
// (and tests to pose) its seven floats.
EMSCRIPTEN_KEEPALIVE TankModel *webModel()
{
    return &tankModel;
}
}
