// The parts the drawing names (gl/part.h) in one frame, in the order it
// names them, each under the part whose frame it was named in, and for each
// level of the modelview stack the part whose frame that level is in. The
// page's GL and the tools' read the tree the same way from it.
#pragma once

#include "gl/common/list.h"
#include "gl/common/matrix.h"

struct NamedPart {
    const char *name;  // as the drawing gives it: "turret frame"
    char id[64];       // as one word, the same every frame: "turretFrame"
    int parent;        // its place in the list, -1 for none
};

struct PartsSeen {
    List<NamedPart> parts;
    int open[matrixStackDepth] = {-1};
    int depth = 1;
};

// A new frame: no part named yet, at the stack's first level.
void startParts(PartsSeen &seen);
// The modelview stack pushed or popped: the new level is in the same part.
void partsPushed(PartsSeen &seen);
void partsPopped(PartsSeen &seen);
// A part named at the current level; returns its place.
int partNamed(PartsSeen &seen, const char *name);
// The part whose frame the current level is in, -1 before the first.
int partNow(const PartsSeen &seen);
// Whether part is ancestor or lies under it.
bool partIsUnder(const PartsSeen &seen, int part, int ancestor);
