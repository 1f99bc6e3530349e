// The browser: emscripten's GLUT and its emulation of legacy GL on WebGL.
// The emulation has no GL_POLYGON, ignores glPolygonMode, keeps a colour
// given inside glBegin for the first vertex only, has no GLU quadrics, and
// its gluLookAt does nothing; each is built here from what it does have.
// Besides, the frame of the part the page has chosen is drawn over the scene
// (web/program.cpp chooses it). The process's side is in process.cpp.
#include <GL/gl.h>
#include <GL/glut.h>
#include <cmath>
#include <cstdio>
#include <emscripten.h>
#include <utility>

#include "platform/platform.h"
#include "platform/web/frames.h"

// Every polygon and cylinder of a frame is gathered here, its corners
// already moved by the modelview matrix they were given under, and the
// whole frame is drawn with one call when it is shown: the emulation makes
// a WebGL draw of every glBegin/glEnd block, and a frame has two dozen.
// Filled shapes go in as triangles, outlines as line segments, points as
// points; only one polygon mode holds during a frame.
struct BatchVertex {
    float x, y, z;
    float r, g, b;
};
static const int batchCapacity = 4096;
static BatchVertex batch[batchCapacity];
// The emulation's temporary buffers hold one draw (web/web.cmake).
static_assert(sizeof batch <= 131072, "a batch larger than GL_MAX_TEMP_BUFFER_SIZE");
static int batchCount = 0;

static PolygonMode polygonMode = PolygonMode::fill;
static float currentColour[3] = {1, 1, 1};  // GL's current colour, as set here
static float modelview[16];                 // column-major, as GL keeps it

static GLenum batchPrimitive()
{
    switch (polygonMode) {
    case PolygonMode::line: return GL_LINES;
    case PolygonMode::point: return GL_POINTS;
    case PolygonMode::fill: break;
    }
    return GL_TRIANGLES;
}

// Draws what is gathered as the given primitive, with an identity modelview
// since the corners are already moved; the projection applies as usual.
static void drawGathered(GLenum primitive)
{
    if (batchCount == 0)
        return;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(BatchVertex), &batch[0].x);
    glColorPointer(3, GL_FLOAT, sizeof(BatchVertex), &batch[0].r);
    glDrawArrays(primitive, 0, batchCount);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopMatrix();
    batchCount = 0;
}

// The frame's shapes, in the polygon mode of the moment.
static void drawBatch()
{
    drawGathered(batchPrimitive());
}

// The matrix that the next shape's corners are moved by.
static void takeModelview()
{
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
}

struct Corner {
    float x, y, z;
};

static Corner moved(double x, double y, double z)
{
    const float *m = modelview;
    return Corner{static_cast<float>(m[0] * x + m[4] * y + m[8] * z + m[12]),
                  static_cast<float>(m[1] * x + m[5] * y + m[9] * z + m[13]),
                  static_cast<float>(m[2] * x + m[6] * y + m[10] * z + m[14])};
}

// Room for n more vertices: what is gathered is drawn now when they would
// not fit, so that a frame too big for the batch is drawn in parts.
static void drawBatchIfFull(int n)
{
    if (batchCount + n > batchCapacity)
        drawBatch();
}

static void emit(const Corner &c, const float *rgb)
{
    batch[batchCount++] = BatchVertex{c.x, c.y, c.z, rgb[0], rgb[1], rgb[2]};
}

// The part of the tree the page has chosen to show (web/tree.js): its frame,
// as the drawing reached it, is drawn over the scene with its origin and
// axes, and the edges of every shape drawn by the parts marked (the chosen
// one and those under it) stand out. Nothing chosen, nothing more is drawn
// or read back.
static int chosenPart = -1;
static unsigned markedParts = 0;  // one bit a part, by its place in the tree
static int partNow = -1;          // the part whose shapes are being drawn
static float chosenFrame[16];     // the modelview at the chosen part
static bool chosenFrameSeen = false;

// The marked edges, already moved like the batch, drawn as lines over it.
static const int markCapacity = 2048;
static Corner markEdges[markCapacity];
static int markCount = 0;

static bool marking()
{
    return partNow >= 0 && partNow < 32 && (markedParts >> partNow & 1u) != 0;
}

static void markEdge(const Corner &a, const Corner &b)
{
    if (markCount + 2 > markCapacity)
        return;
    markEdges[markCount++] = a;
    markEdges[markCount++] = b;
}

// The polygon being made: its corners, already moved, and its colour.
static const int maxCorners = 8;
static Corner corners[maxCorners];
static int cornerCount = 0;
static float polygonColour[3];

void platformColour(float r, float g, float b)
{
    currentColour[0] = r;
    currentColour[1] = g;
    currentColour[2] = b;
    glColor3f(r, g, b);
}

void platformBeginPolygon()
{
    takeModelview();
    cornerCount = 0;
    for (int i = 0; i < 3; ++i)
        polygonColour[i] = currentColour[i];
}

// As inside glBegin: the colour becomes the current colour too.
void platformPolygonColour(const float *rgb)
{
    for (int i = 0; i < 3; ++i)
        polygonColour[i] = currentColour[i] = rgb[i];
}

void platformVertex(float x, float y, float z)
{
    if (cornerCount < maxCorners)
        corners[cornerCount++] = moved(x, y, z);
}

void platformVertexv(const float *xyz)
{
    platformVertex(xyz[0], xyz[1], xyz[2]);
}

// A convex polygon's area is a fan of triangles over its corners in order;
// its outline the edges round it; its points the corners themselves.
void platformEndPolygon()
{
    const int n = cornerCount;
    if (n == 0)
        return;
    drawBatchIfFull(3 * n);
    switch (polygonMode) {
    case PolygonMode::fill:
        for (int i = 1; i + 1 < n; ++i) {
            emit(corners[0], polygonColour);
            emit(corners[i], polygonColour);
            emit(corners[i + 1], polygonColour);
        }
        break;
    case PolygonMode::line:
        for (int i = 0; i < n; ++i) {
            emit(corners[i], polygonColour);
            emit(corners[(i + 1) % n], polygonColour);
        }
        break;
    case PolygonMode::point:
        for (int i = 0; i < n; ++i)
            emit(corners[i], polygonColour);
        break;
    }
    if (marking())
        for (int i = 0; i < n; ++i)
            markEdge(corners[i], corners[(i + 1) % n]);
    cornerCount = 0;
}

// The cylinder as GLU builds it: slice i at the angle 2 pi i / slices from
// +Y towards +X, stack j at the height j / stacks of the way up.
struct CylinderShape {
    double baseRadius, topRadius, height;
    int slices, stacks;
};

static Corner cylinderCorner(const CylinderShape &c, int slice, int stack)
{
    const double along = double(stack) / c.stacks;
    const double radius = c.baseRadius + (c.topRadius - c.baseRadius) * along;
    const double angle = 2 * M_PI * (slice % c.slices) / c.slices;
    return moved(static_cast<float>(radius * std::sin(angle)),
                 static_cast<float>(radius * std::cos(angle)),
                 static_cast<float>(c.height * along));
}

void platformCylinder(double baseRadius, double topRadius, double height, int slices,
                      int stacks)
{
    const CylinderShape c{baseRadius, topRadius, height, slices, stacks};
    const float *rgb = currentColour;
    takeModelview();
    if (marking())
        for (int j = 0; j <= stacks; ++j)
            for (int i = 0; i < slices; ++i) {
                markEdge(cylinderCorner(c, i, j), cylinderCorner(c, i + 1, j));
                if (j < stacks)
                    markEdge(cylinderCorner(c, i, j), cylinderCorner(c, i, j + 1));
            }
    switch (polygonMode) {
    case PolygonMode::fill:
        // Each band of a stack as GLU's quad strip: two triangles a quad,
        // each quad sharing its first edge with the last one's.
        for (int j = 0; j < stacks; ++j) {
            Corner a = cylinderCorner(c, 0, j), b = cylinderCorner(c, 0, j + 1);
            for (int i = 0; i < slices; ++i) {
                const Corner d = cylinderCorner(c, i + 1, j),
                             e = cylinderCorner(c, i + 1, j + 1);
                drawBatchIfFull(6);
                emit(a, rgb);
                emit(b, rgb);
                emit(d, rgb);
                emit(d, rgb);
                emit(b, rgb);
                emit(e, rgb);
                a = d;
                b = e;
            }
        }
        break;
    case PolygonMode::line:
        // The edges of every quad: a ring at each stack, a line along each
        // slice.
        for (int j = 0; j <= stacks; ++j) {
            for (int i = 0; i < slices; ++i) {
                const Corner a = cylinderCorner(c, i, j);
                drawBatchIfFull(4);
                emit(a, rgb);
                emit(cylinderCorner(c, i + 1, j), rgb);
                if (j < stacks) {
                    emit(a, rgb);
                    emit(cylinderCorner(c, i, j + 1), rgb);
                }
            }
        }
        break;
    case PolygonMode::point:
        for (int j = 0; j <= stacks; ++j) {
            for (int i = 0; i < slices; ++i) {
                drawBatchIfFull(1);
                emit(cylinderCorner(c, i, j), rgb);
            }
        }
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

// What was gathered in the old mode is drawn in it before the mode changes.
void platformPolygonMode(PolygonMode mode)
{
    drawBatch();
    polygonMode = mode;
}

// The page's hooks, looked up at every call so that whoever watches (the
// page, a test) may change them at any time.
EM_JS(void, announceFrame, (), {
    if (Module['onFrame'])
        Module['onFrame']();
});

// Parts are known by the order the drawing reaches them in, which is the
// order of the tree (render/tree.cpp).
void platformPartReached(const char *name)
{
    (void)name;
    ++partNow;
    if (partNow == chosenPart) {
        glGetFloatv(GL_MODELVIEW_MATRIX, chosenFrame);
        chosenFrameSeen = true;
    }
}

// Where the eye's space meets the window: the projection and the viewport.
struct WindowPoint {
    double x, y;
};
struct View {
    float projection[16];
    GLint viewport[4];
};

// A point already moved into the eye's space, in window pixels; false for
// a point behind the eye.
static bool toWindow(const View &view, const Corner &p, WindowPoint &out)
{
    const float *projection = view.projection;
    const GLint *viewport = view.viewport;
    const double eye[4] = {p.x, p.y, p.z, 1};
    double clip[4];
    for (int r = 0; r < 4; ++r)
        clip[r] = projection[r] * eye[0] + projection[4 + r] * eye[1] +
                  projection[8 + r] * eye[2] + projection[12 + r] * eye[3];
    if (clip[3] <= 0)
        return false;
    out.x = viewport[0] + (clip[0] / clip[3] + 1) / 2 * viewport[2];
    out.y = viewport[1] + (clip[1] / clip[3] + 1) / 2 * viewport[3];
    return true;
}

// A quadrilateral in window pixels, as two triangles.
static void emitQuad(const WindowPoint (&q)[4], const float *rgb)
{
    for (int i : {0, 1, 2, 0, 2, 3})
        emit(Corner{float(q[i].x), float(q[i].y), 0}, rgb);
}

// Over the finished scene, seen through it: the marked edges in white, then
// the chosen frame's axes, one unit of that frame long (a scaled part's show
// its scale), x red, y green, z blue, each a bar 3 pixels wide, and its
// origin as a white square, 3 pixels wide, outlined in black: pixel sizes
// whatever the projection, drawn in the window's own pixels.
static void drawChosenFrame()
{
    static const float white[3] = {1, 1, 1};
    static const float black[3] = {0, 0, 0};
    static const float axisColour[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    glDisable(GL_DEPTH_TEST);
    for (int i = 0; i < markCount; ++i)
        emit(markEdges[i], white);
    drawGathered(GL_LINES);
    for (int i = 0; i < 16; ++i)
        modelview[i] = chosenFrame[i];
    View view;
    glGetFloatv(GL_PROJECTION_MATRIX, view.projection);
    glGetIntegerv(GL_VIEWPORT, view.viewport);
    const GLint *viewport = view.viewport;
    WindowPoint origin;
    if (chosenFrameSeen && toWindow(view, moved(0, 0, 0), origin)) {
        // The longest on the screen first, so that an axis foreshortened
        // along another's line is drawn over it, not hidden under it.
        WindowPoint end[3];
        double length[3] = {0, 0, 0};
        int order[3] = {0, 1, 2};
        for (int axis = 0; axis < 3; ++axis)
            if (toWindow(view, moved(axis == 0, axis == 1, axis == 2), end[axis]))
                length[axis] = std::hypot(end[axis].x - origin.x, end[axis].y - origin.y);
        for (int i : {0, 1, 0})  // three elements: sorted by three exchanges
            if (length[order[i]] < length[order[i + 1]])
                std::swap(order[i], order[i + 1]);
        for (int axis : order) {
            if (length[axis] < 1)
                continue;  // seen end on, or behind the eye
            const WindowPoint &e = end[axis];
            const double nx = -(e.y - origin.y) / length[axis] * 1.5,
                         ny = (e.x - origin.x) / length[axis] * 1.5;
            emitQuad({{origin.x + nx, origin.y + ny},
                      {e.x + nx, e.y + ny},
                      {e.x - nx, e.y - ny},
                      {origin.x - nx, origin.y - ny}},
                     axisColour[axis]);
        }
        for (const auto &square :
             {std::make_pair(2.5, black), std::make_pair(1.5, white)}) {
            const double h = square.first;
            emitQuad({{origin.x - h, origin.y - h},
                      {origin.x + h, origin.y - h},
                      {origin.x + h, origin.y + h},
                      {origin.x - h, origin.y + h}},
                     square.second);
        }
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1],
                viewport[1] + viewport[3], -1, 1);
        drawGathered(GL_TRIANGLES);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }
    glEnable(GL_DEPTH_TEST);
}

void platformSwapBuffers()
{
    drawBatch();
    if (chosenPart >= 0)
        drawChosenFrame();
    markCount = 0;
    chosenFrameSeen = false;
    partNow = -1;
    glutSwapBuffers();
    announceFrame();
}

void showPartFrame(int part, unsigned marked)
{
    const int parts = 32;  // one bit each in marked
    chosenPart = part >= 0 && part < parts ? part : -1;
    markedParts = chosenPart >= 0 ? marked : 0;
}
