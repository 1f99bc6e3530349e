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
// The page may follow the parts the drawing names and outline what they
// draw (gl/webgl/watch.h): that is how it shows the frame of the part it
// has chosen (web/part-frame.cpp). And it may have a drawing written down
// rather than drawn (gl/common/tree.h): then the modelview's calls, the
// parts and the shapes go to the tree, and nothing is drawn or kept.
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
#include "gl/common/tree.h"
#include "gl/part.h"
#include "gl/webgl/watch.h"
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

// The parts the picture has named so far, and who follows them.
static PartsSeen seen;
DrawingWatch drawingWatch;

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

// Whether what is drawn now is outlined too: asked again only when the part
// being drawn changes (a part named, the stack popped, a new picture), not
// at every corner.
static bool outlined = false;
static void askOutlining()
{
    outlined = drawingWatch.outlining && drawingWatch.outlineCorner &&
               drawingWatch.outlining(seen);
}

// Matrices.

void GLAPIENTRY glMatrixMode(GLenum mode)
{
    stacks.changingProjection = mode == GL_PROJECTION;
}

// Whether the call is the tree's rather than the picture's.
static bool writing()
{
    return treeRecording.writing;
}

void GLAPIENTRY glLoadIdentity()
{
    if (writing() && !stacks.changingProjection)
        return treeStarted();
    loadIdentity(stacks);
    if (stacks.changingProjection)
        return;
    // A new picture of the scene: its parts are named afresh.
    startParts(seen);
    askOutlining();
}

void GLAPIENTRY glPushMatrix()
{
    if (writing() && !stacks.changingProjection)
        return treePushed();
    if (pushMatrix(stacks) && !stacks.changingProjection)
        partsPushed(seen);
}

void GLAPIENTRY glPopMatrix()
{
    if (writing() && !stacks.changingProjection)
        return treePopped();
    if (popMatrix(stacks) && !stacks.changingProjection) {
        partsPopped(seen);
        askOutlining();
    }
}

void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    if (writing() && !stacks.changingProjection)
        return treeTranslated(x, y, z);
    multiplyMatrix(stacks, translation(x, y, z));
}

void GLAPIENTRY glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    if (writing() && !stacks.changingProjection)
        return treeRotated(angle, x, y, z);
    multiplyMatrix(stacks, rotation(angle, x, y, z));
}

void GLAPIENTRY glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    if (writing() && !stacks.changingProjection)
        return treeScaled(x, y, z);
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
    if (writing())
        return;
    const double eye[3] = {eyeX, eyeY, eyeZ}, centre[3] = {centreX, centreY, centreZ},
                 up[3] = {upX, upY, upZ};
    multiplyMatrix(stacks, lookAt(eye, centre, up));
}

// Colours and polygons.

void GLAPIENTRY glColor3f(GLfloat r, GLfloat g, GLfloat b)
{
    if (writing())
        return;
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
    if (writing())
        return treePolygonBegun();
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

static void outlinePolygonCorner(int index)
{
    drawingWatch.outlineCorner(cornerAt(index));
}

void GLAPIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    if (!makingPolygon || writing())
        return;
    previousCorner = lastCorner;
    lastCorner = clipVertex(x, y, z, colour);
    if (cornersGiven == 0)
        firstCorner = lastCorner;
    const int n = cornersGiven++;
    polygonCornerGiven(polygonFill, n, drawPolygonCorner);
    if (outlined)
        polygonCornerGiven(PolygonFill::line, n, outlinePolygonCorner);
}

void GLAPIENTRY glVertex3fv(const GLfloat *xyz)
{
    glVertex3f(xyz[0], xyz[1], xyz[2]);
}

void GLAPIENTRY glEnd()
{
    if (!makingPolygon || writing())
        return;
    makingPolygon = false;
    polygonEnded(polygonFill, cornersGiven, drawPolygonCorner);
    if (outlined)
        polygonEnded(PolygonFill::line, cornersGiven, outlinePolygonCorner);
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

static void outlineCylinderCorner(const Corner &p)
{
    drawingWatch.outlineCorner(clipVertex(p.x, p.y, p.z, colour));
}

void GLAPIENTRY gluCylinder(GLUquadric *quadric, GLdouble baseRadius, GLdouble topRadius,
                            GLdouble height, GLint slices, GLint stacksAlong)
{
    if (writing())
        return treeCylinder(baseRadius, topRadius, height, slices, stacksAlong);
    if (!quadric)
        return;
    const Cylinder c{baseRadius, topRadius, height, slices, stacksAlong};
    cylinderCorners(c, polygonFill, drawCylinderCorner);
    if (outlined)
        cylinderCorners(c, PolygonFill::line, outlineCylinderCorner);
}

// The rest of the state, as WebGL has it.

void GLAPIENTRY glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a)
{
    webglClearColour(r, g, b, a);
}

void GLAPIENTRY glClear(GLbitfield mask)
{
    if (writing())
        return;
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
    if (writing())
        return;
    drawBatch();
}

// The state GL reports: the matrices, the viewport, the polygon mode
// and what is switched on.

void GLAPIENTRY glGetFloatv(GLenum name, GLfloat *values)
{
    const Matrix *matrix = name == GL_MODELVIEW_MATRIX    ? &topOf(stacks.modelview)
                           : name == GL_PROJECTION_MATRIX ? &topOf(stacks.projection)
                                                          : nullptr;
    if (matrix)
        memcpy(values, matrix->m, sizeof matrix->m);
}

void GLAPIENTRY glGetIntegerv(GLenum name, GLint *values)
{
    if (name == GL_VIEWPORT) {
        memcpy(values, viewport, sizeof viewport);
    } else if (name == GL_POLYGON_MODE) {
        values[0] = values[1] = polygonFill == PolygonFill::line    ? GL_LINE
                                : polygonFill == PolygonFill::point ? GL_POINT
                                                                    : GL_FILL;
    }
}

GLboolean GLAPIENTRY glIsEnabled(GLenum capability)
{
    return capability == GL_DEPTH_TEST && depthTest ? GL_TRUE : GL_FALSE;
}

// A part named, for whoever follows them.
void namePart(const char *name)
{
    if (writing())
        return treePartNamed(name);
    const int part = partNamed(seen, name);
    if (drawingWatch.partNamed)
        drawingWatch.partNamed(seen, part);
    askOutlining();
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
    if (writing())
        return;
    drawBatch();
    if (drawingWatch.sceneDrawn)
        drawingWatch.sceneDrawn();
    announceFrame();
}
