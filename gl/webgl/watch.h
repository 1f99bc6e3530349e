// What the page may follow of the drawing as the program makes it, besides
// what GL itself reports (glGetFloatv, glGetIntegerv, glIsEnabled): the
// parts the drawing names, the outline of what is drawn while it asks for
// one, and the end of each picture's scene. A null entry is not called.
#pragma once

#include "gl/common/parts.h"
#include "gl/webgl/webgl.h"

struct DrawingWatch {
    // A part is named (gl/part.h) at its place among the parts seen so far
    // this picture; the modelview matrix holds its frame.
    void (*partNamed)(const PartsSeen &seen, int part);
    // Whether what is drawn now is outlined as well.
    bool (*outlining)(const PartsSeen &seen);
    // The outline's edges, in clip space, two corners an edge.
    void (*outlineCorner)(const ClipVertex &corner);
    // The scene is drawn and about to be shown: what is drawn now is drawn
    // over it.
    void (*sceneDrawn)();
};

extern DrawingWatch drawingWatch;
