// The tree of transforms a drawing makes, written down as it draws: every
// push, pop, translate, rotate and scale of the modelview stack, each part
// where the drawing names it (gl/part.h), each shape counted in its part.
// A GL that writes the tree down calls these for the program's calls while
// treeRecording.writing is set, and draws nothing meanwhile: the tools' GL
// always (make docs' diagram), the page's GL when the page asks for its
// tree (web/program.cpp). The tree is kept in flat lists of plain records
// (gl/common/list.h).
#pragma once

#include <cstddef>

#include "gl/common/list.h"
#include "gl/common/parts.h"

// A step ("rotate {turretAngle} about Z") that leads to a part from its
// parent's frame, or a line of what a part draws besides its polygons
// ("20 slices, 2 stacks"), in the order the drawing made them. part is the
// part's place in the tree; -1 while the step waits for its part.
struct TreeText {
    int part;
    bool step;
    char text[160];
};

// The parts in the order the drawing names them (seen.parts: each after
// its parent, with its id and parent, gl/common/parts.h), how many polygons
// each draws, and the texts of all of them. A value the writer knows by
// name stands in the steps as {name}.
struct Tree {
    PartsSeen seen;
    List<int> polygons;
    List<TreeText> texts;
};

// A part draws something, rather than being a frame alone.
bool partDraws(const Tree &tree, int part);

// What the drawing has done so far: the tree (seen holding, for each level
// of the matrix stack, the part whose frame that level is in), and for each
// level above the first, the part whose steps hold the push that opened it
// (-1 while that push is still pending). valueName writes a value
// of a step by its name ("{speed}") into out and says whether it did; a
// value it does not name is written as a number.
struct TreeRecording {
    bool writing = false;
    bool (*valueName)(float value, char *out, std::size_t room) = nullptr;
    Tree tree;
    List<int> pushedBy;
};
extern TreeRecording treeRecording;

// The modelview stack's calls, written down: a new tree at its identity.
void treeStarted();
void treePushed();
void treePopped();
void treeTranslated(float x, float y, float z);
void treeScaled(float x, float y, float z);
void treeRotated(float angle, float x, float y, float z);
// The drawing's own calls: a part named, a polygon begun, GLU's cylinder.
void treePartNamed(const char *name);
void treePolygonBegun();
void treeCylinder(double baseRadius, double topRadius, double height, int slices,
                  int stacks);

// The tree draw() makes, draw run once while writing; each value of its
// steps as valueName writes it, a number where it does not (or is null).
// It is kept until the next tree is written.
const Tree &writeTreeDown(void (*draw)(), bool (*valueName)(float, char *, std::size_t));
