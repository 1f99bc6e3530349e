// The frame of the part the page has chosen (web/tree.js), drawn over the
// picture: the part's origin and axes where the drawing reached it, and
// the outline of what it and the parts under it draw. The page's GL tells
// of each part named and outlines what is drawn while asked to
// (gl/webgl/watch.h); the rest it reports as GL does.
#include "web/part-frame.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "gl/common/matrix.h"
#include "gl/webgl/watch.h"

// The chosen part by its id, its place among the parts named this picture
// (-1 until it is named), its frame, and the outline's edges.
static char chosenId[64];
static int chosenPart = -1;
static Matrix chosenFrame;
static const int outlineCapacity = 2048;
static ClipVertex outline[outlineCapacity];
static int outlineCount = 0;

static void partNamed(const PartsSeen &seen, int part)
{
    if (chosenPart < 0 &&
        strcmp(seen.parts[static_cast<size_t>(part)].id, chosenId) == 0) {
        chosenPart = part;
        glGetFloatv(GL_MODELVIEW_MATRIX, chosenFrame.m);
    }
}

static bool outlining(const PartsSeen &seen)
{
    return chosenPart >= 0 && partIsUnder(seen, partNow(seen), chosenPart);
}

// A corner of an outline's edge, in white.
static void outlineCorner(const ClipVertex &corner)
{
    if (outlineCount == outlineCapacity)
        return;
    ClipVertex &v = outline[outlineCount++];
    v = corner;
    v.r = v.g = v.b = 1;
}

// A point of the window, in pixels from its lower left corner.
struct WindowPoint {
    double x, y;
};

static GLint viewport[4];

static bool toWindow(const Point &clip, WindowPoint &out)
{
    if (clip.w <= 0)
        return false;  // behind the eye
    out.x = viewport[0] + (clip.x / clip.w + 1) / 2 * viewport[2];
    out.y = viewport[1] + (clip.y / clip.w + 1) / 2 * viewport[3];
    return true;
}

// The axes and the origin: three bars and two squares, two triangles each.
static ClipVertex quads[5 * 6];
static int quadCount = 0;

// A quadrilateral in window pixels, as two triangles in clip space.
static void addQuad(const WindowPoint (&q)[4], const float *rgb)
{
    for (int i : {0, 1, 2, 0, 2, 3}) {
        const double x = (q[i].x - viewport[0]) / viewport[2] * 2 - 1,
                     y = (q[i].y - viewport[1]) / viewport[3] * 2 - 1;
        if (quadCount < 5 * 6)
            quads[quadCount++] =
                ClipVertex{float(x), float(y), 0, 1, rgb[0], rgb[1], rgb[2]};
    }
}

// Over the finished scene, seen through it: the outline in white, then
// the chosen frame's axes, one unit of that frame long (a scaled part's
// show its scale), x red, y green, z blue, each a bar 3 pixels wide, and
// its origin as a white square, 3 pixels wide, outlined in black: pixel
// sizes whatever the projection.
static void drawChosenFrame()
{
    static const float white[3] = {1, 1, 1};
    static const float black[3] = {0, 0, 0};
    static const float axisColour[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (viewport[2] <= 0 || viewport[3] <= 0)
        return;
    Matrix projection;
    glGetFloatv(GL_PROJECTION_MATRIX, projection.m);
    const GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST);
    glDisable(GL_DEPTH_TEST);
    webglDraw(outline, outlineCount, Primitive::lines);
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
        webglDraw(quads, quadCount, Primitive::triangles);
        quadCount = 0;
    }
    if (depthTest)
        glEnable(GL_DEPTH_TEST);
}

// The next picture names its parts afresh.
static void sceneDrawn()
{
    if (chosenPart >= 0)
        drawChosenFrame();
    chosenPart = -1;
    outlineCount = 0;
}

void showPartFrame(const char *id)
{
    snprintf(chosenId, sizeof chosenId, "%s", id);
    drawingWatch = DrawingWatch{partNamed, outlining, outlineCorner, sceneDrawn};
}
