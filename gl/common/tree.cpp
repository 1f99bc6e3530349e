#include "gl/common/tree.h"

#include <cstdio>

TreeRecording treeRecording;

// Numbers as the drawing hands them to GL, shortest form first.
static void writeNumber(double value, char *out, size_t room)
{
    snprintf(out, room, "%g", static_cast<double>(static_cast<float>(value)));
}

struct ValueText {
    char text[40];
};

static ValueText valueText(float value)
{
    ValueText v;
    if (!treeRecording.valueName ||
        !treeRecording.valueName(value, v.text, sizeof v.text))
        writeNumber(value, v.text, sizeof v.text);
    return v;
}

// A text of a part, or a step waiting for its part: the text is written
// into it by the caller.
static TreeText &newText(int part, bool step)
{
    TreeText &text = added(treeRecording.tree.texts);
    text.part = part;
    text.step = step;
    return text;
}

static void step(const char *text)
{
    snprintf(newText(-1, true).text, sizeof TreeText::text, "%s", text);
}

// A step with three values: "translate (1, 2, {x})".
static void tripleStep(const char *what, float x, float y, float z)
{
    snprintf(newText(-1, true).text, sizeof TreeText::text, "%s (%s, %s, %s)", what,
             valueText(x).text, valueText(y).text, valueText(z).text);
}

// A pop is written where its push is: among the steps still pending, or
// after the steps of a part that has no part under it, as a box's push,
// scale and pop. A part with parts under it is closed by its place in the
// tree: a pop written after its steps would come before theirs.
void treePushed()
{
    step("push");
    partsPushed(treeRecording.tree.seen);
    added(treeRecording.pushedBy) = -1;
}

void treePopped()
{
    TreeRecording &r = treeRecording;
    if (r.pushedBy.count == 0)
        return;  // more pops than pushes: GL would refuse it too
    const int owner = r.pushedBy[r.pushedBy.count - 1];
    if (owner < 0)
        step("pop");
    else if (static_cast<size_t>(owner) + 1 == r.tree.seen.parts.size())
        snprintf(newText(owner, true).text, sizeof TreeText::text, "pop");
    partsPopped(r.tree.seen);
    --r.pushedBy.count;
}

void treeTranslated(float x, float y, float z)
{
    tripleStep("translate", x, y, z);
}

void treeScaled(float x, float y, float z)
{
    tripleStep("scale", x, y, z);
}

void treeRotated(float angle, float x, float y, float z)
{
    char axis[64];
    char n[3][16];
    writeNumber(x, n[0], sizeof n[0]);
    writeNumber(y, n[1], sizeof n[1]);
    writeNumber(z, n[2], sizeof n[2]);
    snprintf(axis, sizeof axis, "(%s, %s, %s)", n[0], n[1], n[2]);
    if (y == 0 && z == 0 && x > 0)
        snprintf(axis, sizeof axis, "X");
    else if (x == 0 && z == 0 && y > 0)
        snprintf(axis, sizeof axis, "Y");
    else if (x == 0 && y == 0 && z > 0)
        snprintf(axis, sizeof axis, "Z");
    snprintf(newText(-1, true).text, sizeof TreeText::text, "rotate %s about %s",
             valueText(angle).text, axis);
}

void treeStarted()
{
    TreeRecording &r = treeRecording;
    r.tree.polygons.count = 0;
    r.tree.texts.count = 0;
    startParts(r.tree.seen);
    r.pushedBy.count = 0;
}

void treePartNamed(const char *name)
{
    TreeRecording &r = treeRecording;
    const int part = partNamed(r.tree.seen, name);
    added(r.tree.polygons) = 0;
    for (TreeText &text : r.tree.texts)
        if (text.part < 0)
            text.part = part;
    for (int &owner : r.pushedBy)
        if (owner < 0)
            owner = part;
}

void treePolygonBegun()
{
    const int part = partNow(treeRecording.tree.seen);
    if (part >= 0)
        ++treeRecording.tree.polygons[static_cast<size_t>(part)];
}

void treeCylinder(double baseRadius, double topRadius, double height, int slices,
                  int stacks)
{
    const int part = partNow(treeRecording.tree.seen);
    if (part < 0)
        return;
    char base[16], top[24] = "", length[16];
    writeNumber(baseRadius, base, sizeof base);
    if (topRadius != baseRadius) {
        char to[16];
        writeNumber(topRadius, to, sizeof to);
        snprintf(top, sizeof top, " to %s", to);
    }
    writeNumber(height, length, sizeof length);
    snprintf(newText(part, false).text, sizeof TreeText::text,
             "cylinder radius %s%s, length %s", base, top, length);
    snprintf(newText(part, false).text, sizeof TreeText::text, "%d slices, %d stacks",
             slices, stacks);
}

bool partDraws(const Tree &tree, int part)
{
    if (tree.polygons[static_cast<size_t>(part)] > 0)
        return true;
    for (const TreeText &text : tree.texts)
        if (text.part == part && !text.step)
            return true;
    return false;
}

const Tree &writeTreeDown(void (*draw)(), bool (*valueName)(float, char *, size_t))
{
    TreeRecording &r = treeRecording;
    treeStarted();
    r.valueName = valueName;
    r.writing = true;
    draw();
    r.writing = false;
    return r.tree;
}
