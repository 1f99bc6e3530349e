// The page's GL: the OpenGL 1.1 and GLU calls the program makes, on WebGL.
// Matrices are kept here as GL keeps them (gl/common/matrix.h); each vertex
// is moved into clip space as it is given, with the current colour, and a
// frame's shapes are gathered and drawn in one WebGL draw when the frame is
// flushed or something that changes how they are drawn comes first: a
// clear, a new viewport, a new polygon mode, a capability switched.
// Polygons are filled as fans of triangles, outlined or pointed as the
// polygon mode says; GLU's cylinder is built as GLU builds it (gl/common/
// shapes.h). GLUT's window, timer and keys are emscripten's own.
//
// Besides the scene, the frame of the part the page has chosen is drawn
// over it (web/program.cpp chooses it by its id).
#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <emscripten.h>
#include <initializer_list>

#include "gl/common/matrix.h"
#include "gl/common/parts.h"
#include "gl/common/shapes.h"
#include "gl/part.h"
#include "gl/webgl/frames.h"
#include "gl/webgl/webgl.h"

static MatrixStacks stacks;
static float colour[3] = {1, 1, 1};
static PolygonFill polygonFill = PolygonFill::fill;
static bool depthTest = false;
static int viewport[4] = {0, 0, 0, 0};

// What is gathered for the next draw, in clip space. A whole number of
// triangles, of lines and of points fills it, so that a full batch drawn
// at once never parts a primitive.
static const int batchCapacity = 6 * 682;
static ClipVertex batch[batchCapacity];
static int batchCount = 0;

// The polygon being made between glBegin and glEnd: how many corners it
// has, its first, the one before the last, and the last, each with its
// colour.
static bool makingPolygon = false;
static int cornersGiven = 0;
static ClipVertex firstCorner, previousCorner, lastCorner;

// The parts the frame has named, the one chosen and its frame as the
// drawing reached it, and the edges of what it and the parts under it draw.
static PartsSeen seen;
static char chosenId[64];
static int chosenPart = -1;
static Matrix chosenFrame;
static const int markCapacity = 2048;
static ClipVertex markedEdges[markCapacity];
static int markCount = 0;

static Primitive batchPrimitive()
{
    switch (polygonFill) {
    case PolygonFill::line: return Primitive::lines;
    case PolygonFill::point: return Primitive::points;
    case PolygonFill::fill: break;
    }
    return Primitive::triangles;
}

static void drawBatch()
{
    webglDraw(batch, batchCount, batchPrimitive());
    batchCount = 0;
}

static void addToBatch(const ClipVertex &v)
{
    if (batchCount == batchCapacity)
        drawBatch();
    batch[batchCount++] = v;
}

static ClipVertex clipVertex(double x, double y, double z, const float *rgb)
{
    const Point eye = moved(topOf(stacks.modelview), Point{x, y, z, 1});
    const Point clip = moved(topOf(stacks.projection), eye);
    return ClipVertex{float(clip.x), float(clip.y), float(clip.z), float(clip.w),
                      rgb[0],        rgb[1],        rgb[2]};
}

static bool marking()
{
    return chosenPart >= 0 && partIsUnder(seen, partNow(seen), chosenPart);
}

// A corner of a marked edge, in white.
static void markCorner(ClipVertex v)
{
    v.r = v.g = v.b = 1;
    if (markCount < markCapacity)
        markedEdges[markCount++] = v;
}

// Matrices.

void GLAPIENTRY glMatrixMode(GLenum mode)
{
    stacks.changingProjection = mode == GL_PROJECTION;
}

void GLAPIENTRY glLoadIdentity()
{
    loadIdentity(stacks);
    if (stacks.changingProjection)
        return;
    // A new frame of the scene: its parts are named afresh.
    startParts(seen);
    chosenPart = -1;
    markCount = 0;
}

void GLAPIENTRY glPushMatrix()
{
    if (pushMatrix(stacks) && !stacks.changingProjection)
        partsPushed(seen);
}

void GLAPIENTRY glPopMatrix()
{
    if (popMatrix(stacks) && !stacks.changingProjection)
        partsPopped(seen);
}

void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    multiplyMatrix(stacks, translation(x, y, z));
}

void GLAPIENTRY glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    multiplyMatrix(stacks, rotation(angle, x, y, z));
}

void GLAPIENTRY glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    multiplyMatrix(stacks, scaling(x, y, z));
}

void GLAPIENTRY glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top,
                        GLdouble zNear, GLdouble zFar)
{
    multiplyMatrix(stacks, orthographic(left, right, bottom, top, zNear, zFar));
}

void GLAPIENTRY gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear,
                               GLdouble zFar)
{
    multiplyMatrix(stacks, perspective(fovy, aspect, zNear, zFar));
}

void GLAPIENTRY gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX,
                          GLdouble centreY, GLdouble centreZ, GLdouble upX, GLdouble upY,
                          GLdouble upZ)
{
    const double eye[3] = {eyeX, eyeY, eyeZ}, centre[3] = {centreX, centreY, centreZ},
                 up[3] = {upX, upY, upZ};
    multiplyMatrix(stacks, lookAt(eye, centre, up));
}

// Colours and polygons.

void GLAPIENTRY glColor3f(GLfloat r, GLfloat g, GLfloat b)
{
    colour[0] = r;
    colour[1] = g;
    colour[2] = b;
}

void GLAPIENTRY glColor3fv(const GLfloat *rgb)
{
    glColor3f(rgb[0], rgb[1], rgb[2]);
}

// Only GL_POLYGON is made here: the program draws nothing else.
void GLAPIENTRY glBegin(GLenum mode)
{
    makingPolygon = mode == GL_POLYGON;
    cornersGiven = 0;
}

// A corner by its index in the polygon, from those kept.
static const ClipVertex &cornerAt(int index)
{
    return index == 0                  ? firstCorner
           : index == cornersGiven - 1 ? lastCorner
                                       : previousCorner;
}

static void drawPolygonCorner(int index)
{
    addToBatch(cornerAt(index));
}

static void markPolygonCorner(int index)
{
    markCorner(cornerAt(index));
}

void GLAPIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    if (!makingPolygon)
        return;
    previousCorner = lastCorner;
    lastCorner = clipVertex(x, y, z, colour);
    if (cornersGiven == 0)
        firstCorner = lastCorner;
    const int n = cornersGiven++;
    polygonCornerGiven(polygonFill, n, drawPolygonCorner);
    if (marking())
        polygonCornerGiven(PolygonFill::line, n, markPolygonCorner);
}

void GLAPIENTRY glVertex3fv(const GLfloat *xyz)
{
    glVertex3f(xyz[0], xyz[1], xyz[2]);
}

void GLAPIENTRY glEnd()
{
    if (!makingPolygon)
        return;
    makingPolygon = false;
    polygonEnded(polygonFill, cornersGiven, drawPolygonCorner);
    if (marking())
        polygonEnded(PolygonFill::line, cornersGiven, markPolygonCorner);
}

// What was gathered in the old mode is drawn in it before the mode changes.
void GLAPIENTRY glPolygonMode(GLenum face, GLenum mode)
{
    (void)face;
    drawBatch();
    polygonFill = mode == GL_LINE    ? PolygonFill::line
                  : mode == GL_POINT ? PolygonFill::point
                                     : PolygonFill::fill;
}

const char *polygonModeName()
{
    return polygonFill == PolygonFill::line    ? "line"
           : polygonFill == PolygonFill::point ? "point"
                                               : "fill";
}

// GLU's quadric: its defaults are all the program uses.
struct GLUquadric {
    int unused;
};

GLUquadric *GLAPIENTRY gluNewQuadric()
{
    static GLUquadric quadric;
    return &quadric;
}

static void drawCylinderCorner(const Corner &p)
{
    addToBatch(clipVertex(p.x, p.y, p.z, colour));
}

static void markCylinderCorner(const Corner &p)
{
    markCorner(clipVertex(p.x, p.y, p.z, colour));
}

void GLAPIENTRY gluCylinder(GLUquadric *quadric, GLdouble baseRadius, GLdouble topRadius,
                            GLdouble height, GLint slices, GLint stacksAlong)
{
    if (!quadric)
        return;
    const Cylinder c{baseRadius, topRadius, height, slices, stacksAlong};
    cylinderCorners(c, polygonFill, drawCylinderCorner);
    if (marking())
        cylinderCorners(c, PolygonFill::line, markCylinderCorner);
}

// The rest of the state, as WebGL has it.

void GLAPIENTRY glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a)
{
    webglClearColour(r, g, b, a);
}

void GLAPIENTRY glClear(GLbitfield mask)
{
    drawBatch();
    webglClear(mask);
}

void GLAPIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    drawBatch();
    viewport[0] = x;
    viewport[1] = y;
    viewport[2] = width;
    viewport[3] = height;
    webglViewport(x, y, width, height);
}

// What WebGL has is switched there; the rest (smooth points, lines and
// polygons) is accepted and has no effect.
void GLAPIENTRY glEnable(GLenum capability)
{
    drawBatch();
    if (webglSwitch(capability, true) && capability == GL_DEPTH_TEST)
        depthTest = true;
}

void GLAPIENTRY glDisable(GLenum capability)
{
    drawBatch();
    if (webglSwitch(capability, false) && capability == GL_DEPTH_TEST)
        depthTest = false;
}

void GLAPIENTRY glFlush()
{
    drawBatch();
}

// The chosen part.

void namePart(const char *name)
{
    const int part = partNamed(seen, name);
    if (chosenPart < 0 &&
        strcmp(seen.parts[static_cast<size_t>(part)].id, chosenId) == 0) {
        chosenPart = part;
        chosenFrame = topOf(stacks.modelview);
    }
}

void showPartFrame(const char *id)
{
    snprintf(chosenId, sizeof chosenId, "%s", id);
}

// A point of the window, in pixels from its lower left corner.
struct WindowPoint {
    double x, y;
};

static bool toWindow(const Point &clip, WindowPoint &out)
{
    if (clip.w <= 0)
        return false;  // behind the eye
    out.x = viewport[0] + (clip.x / clip.w + 1) / 2 * viewport[2];
    out.y = viewport[1] + (clip.y / clip.w + 1) / 2 * viewport[3];
    return true;
}

// A quadrilateral in window pixels, as two triangles in clip space.
static void addQuad(const WindowPoint (&q)[4], const float *rgb)
{
    for (int i : {0, 1, 2, 0, 2, 3}) {
        const double x = (q[i].x - viewport[0]) / viewport[2] * 2 - 1,
                     y = (q[i].y - viewport[1]) / viewport[3] * 2 - 1;
        addToBatch(ClipVertex{float(x), float(y), 0, 1, rgb[0], rgb[1], rgb[2]});
    }
}

// Over the finished scene, seen through it: the marked edges in white, then
// the chosen frame's axes, one unit of that frame long (a scaled part's
// show its scale), x red, y green, z blue, each a bar 3 pixels wide, and
// its origin as a white square, 3 pixels wide, outlined in black: pixel
// sizes whatever the projection.
static void drawChosenFrame()
{
    static const float white[3] = {1, 1, 1};
    static const float black[3] = {0, 0, 0};
    static const float axisColour[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    if (viewport[2] <= 0 || viewport[3] <= 0)
        return;
    webglSwitch(GL_DEPTH_TEST, false);
    webglDraw(markedEdges, markCount, Primitive::lines);
    const Matrix &projection = topOf(stacks.projection);
    auto windowOf = [&](double x, double y, double z, WindowPoint &out) {
        return toWindow(moved(projection, moved(chosenFrame, Point{x, y, z, 1})), out);
    };
    WindowPoint origin;
    if (windowOf(0, 0, 0, origin)) {
        // The longest on the screen first, so that an axis foreshortened
        // along another's line is drawn over it, not hidden under it.
        WindowPoint end[3];
        double length[3] = {0, 0, 0};
        int order[3] = {0, 1, 2};
        for (int axis = 0; axis < 3; ++axis)
            if (windowOf(axis == 0, axis == 1, axis == 2, end[axis]))
                length[axis] = std::hypot(end[axis].x - origin.x, end[axis].y - origin.y);
        for (int i : {0, 1, 0})  // three elements: sorted by three exchanges
            if (length[order[i]] < length[order[i + 1]]) {
                const int swapped = order[i];
                order[i] = order[i + 1];
                order[i + 1] = swapped;
            }
        for (int axis : order) {
            if (length[axis] < 1)
                continue;  // seen end on, or behind the eye
            const WindowPoint &e = end[axis];
            const double nx = -(e.y - origin.y) / length[axis] * 1.5,
                         ny = (e.x - origin.x) / length[axis] * 1.5;
            addQuad({{origin.x + nx, origin.y + ny},
                     {e.x + nx, e.y + ny},
                     {e.x - nx, e.y - ny},
                     {origin.x - nx, origin.y - ny}},
                    axisColour[axis]);
        }
        for (const float *rgb : {black, white}) {
            const double h = rgb == black ? 2.5 : 1.5;
            addQuad({{origin.x - h, origin.y - h},
                     {origin.x + h, origin.y - h},
                     {origin.x + h, origin.y + h},
                     {origin.x - h, origin.y + h}},
                    rgb);
        }
        webglDraw(batch, batchCount, Primitive::triangles);
        batchCount = 0;
    }
    if (depthTest)
        webglSwitch(GL_DEPTH_TEST, true);
}

// The page is told of every frame shown, looked up at every call so that
// whoever watches (the page, a test) may change it at any time.
EM_JS(void, announceFrame, (), {
    if (Module['onFrame'])
        Module['onFrame']();
});

// The browser shows the canvas once the program returns to it: the frame
// is finished here.
void FGAPIENTRY glutSwapBuffers()
{
    drawBatch();
    if (chosenPart >= 0)
        drawChosenFrame();
    markCount = 0;
    chosenPart = -1;
    announceFrame();
}
