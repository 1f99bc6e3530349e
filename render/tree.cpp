// The tree of transforms, read from the drawing itself. In the tools that
// write the tree (tank_diagram for make docs, the page's build), this file
// stands in for GL's matrix calls and for the platform's drawing: the scene
// is drawn once and every push, pop, translate, rotate and scale is written
// down rather than done. Nothing is drawn, and no GL is linked. The model
// is posed with a value of its own for each of drawnValues (render.h), so
// that where one enters the drawing the step names it rather than a
// number.
#include <GL/gl.h>
#include <cstdio>

#include "app/state.h"
#include "platform/platform.h"
#include "render/diagram.h"
#include "render/render.h"

// A part's shapes as the drawing made them in its frame.
struct PartShapes {
    int polygons;
    std::vector<std::string> cylinders;
};

// What the drawing has done so far. open holds, for each level of the
// matrix stack, the part whose frame that level is in (-1 before the
// world); pushedBy, for each level above the first, the part whose steps
// hold the push that opened it (-1 while that push is still pending);
// pending, the steps made since the last part was reached.
struct TreeRecording {
    std::vector<TreeNode> nodes;
    std::vector<PartShapes> shapes;
    std::vector<std::string> pending;
    std::vector<int> open;
    std::vector<int> pushedBy;
};
static TreeRecording recording;

// Numbers as the drawing hands them to GL, shortest form first.
static std::string number(double value)
{
    char text[32];
    snprintf(text, sizeof text, "%g", static_cast<double>(static_cast<float>(value)));
    return text;
}

// A value as a step writes it: a model's value by its name, with how the
// drawing works it out when it does; anything else as a number.
static std::string valueText(float value)
{
    for (int i = 0; i < drawnValueCount; ++i) {
        const DrawnValue &d = drawnValues[i];
        const float posed = drawnValue(d, tankModel);
        if (value != posed && value != -posed)
            continue;
        std::string text = (value == posed ? "{" : "-{") + std::string(d.name) + "}";
        if (d.formula) {
            char formula[128];
            snprintf(formula, sizeof formula, d.formula,
                     static_cast<double>(static_cast<float>(*d.constant)));
            text += " = " + std::string(formula);
        }
        return text;
    }
    return number(value);
}

static std::string triple(float x, float y, float z)
{
    return "(" + valueText(x) + ", " + valueText(y) + ", " + valueText(z) + ")";
}

// A part's name as one word, as the page and the diagram refer to it:
// "turret frame" is turretFrame; a name given twice gets a number.
static std::string idOf(const char *name)
{
    std::string id;
    bool wordStarts = false;
    for (const char *c = name; *c; ++c) {
        const bool letter = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') ||
                            (*c >= '0' && *c <= '9');
        if (!letter) {
            wordStarts = !id.empty();
            continue;
        }
        id +=
            wordStarts && *c >= 'a' && *c <= 'z' ? static_cast<char>(*c - 'a' + 'A') : *c;
        wordStarts = false;
    }
    if (id.empty())
        id = "part";
    const std::string base = id;
    for (int n = 2;; ++n) {
        bool taken = false;
        for (const TreeNode &node : recording.nodes)
            taken = taken || node.id == id;
        if (!taken)
            return id;
        id = base + std::to_string(n);
    }
}

static void step(const std::string &text)
{
    recording.pending.push_back(text);
}

// GL's matrix calls, written down. The stack's levels follow push and pop.
// A pop is written where its push is: among the steps still pending, or
// after the steps of a part that has no part under it, as a box's push,
// scale and pop. A part with parts under it is closed by its place in the
// tree: a pop written after its steps would come before theirs.
void GLAPIENTRY glPushMatrix()
{
    step("push");
    recording.open.push_back(recording.open.back());
    recording.pushedBy.push_back(-1);
}

void GLAPIENTRY glPopMatrix()
{
    if (recording.pushedBy.empty())
        return;  // more pops than pushes: GL would refuse it too
    const int owner = recording.pushedBy.back();
    if (owner < 0)
        step("pop");
    else if (static_cast<size_t>(owner) + 1 == recording.nodes.size())
        recording.nodes.back().steps.push_back("pop");
    recording.open.pop_back();
    recording.pushedBy.pop_back();
}

void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    step("translate " + triple(x, y, z));
}

void GLAPIENTRY glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    step("scale " + triple(x, y, z));
}

void GLAPIENTRY glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    std::string axis = "(" + number(x) + ", " + number(y) + ", " + number(z) + ")";
    if (y == 0 && z == 0 && x > 0)
        axis = "X";
    else if (x == 0 && z == 0 && y > 0)
        axis = "Y";
    else if (x == 0 && y == 0 && z > 0)
        axis = "Z";
    step("rotate " + valueText(angle) + " about " + axis);
}

// A new frame starts a new tree.
void GLAPIENTRY glLoadIdentity()
{
    recording.nodes.clear();
    recording.shapes.clear();
    recording.pending.clear();
    recording.open.assign(1, -1);
    recording.pushedBy.clear();
}

// What the scene does besides the tank's matrices has no step in the tree.
void GLAPIENTRY glMatrixMode(GLenum) {}
void GLAPIENTRY glViewport(GLint, GLint, GLsizei, GLsizei) {}
void GLAPIENTRY glOrtho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}
void GLAPIENTRY glClear(GLbitfield) {}
void GLAPIENTRY glFlush() {}

void platformPartReached(const char *name)
{
    const int parent = recording.open.back();
    recording.nodes.push_back(
        TreeNode{idOf(name),
                 parent < 0 ? "" : recording.nodes[static_cast<size_t>(parent)].id,
                 recording.pending,
                 {name},
                 false});
    recording.shapes.push_back(PartShapes{0, {}});
    recording.pending.clear();
    recording.open.back() = static_cast<int>(recording.nodes.size() - 1);
    for (int &owner : recording.pushedBy)
        if (owner < 0)
            owner = recording.open.back();
}

// A shape belongs to the part whose frame it is drawn in.
static PartShapes *shapesNow()
{
    const int part = recording.open.back();
    return part < 0 ? nullptr : &recording.shapes[static_cast<size_t>(part)];
}

void platformBeginPolygon()
{
    if (PartShapes *shapes = shapesNow())
        ++shapes->polygons;
}

void platformCylinder(double baseRadius, double topRadius, double height, int slices,
                      int stacks)
{
    PartShapes *shapes = shapesNow();
    if (!shapes)
        return;
    std::string radius = number(baseRadius);
    if (topRadius != baseRadius)
        radius += " to " + number(topRadius);
    shapes->cylinders.push_back("cylinder radius " + radius + ", length " +
                                number(height));
    shapes->cylinders.push_back(std::to_string(slices) + " slices, " +
                                std::to_string(stacks) + " stacks");
}

// The tools write the tree, not the program's trace.
void platformWrite(const char *, std::size_t) {}
void platformColour(float, float, float) {}
void platformPolygonColour(const float *) {}
void platformVertex(float, float, float) {}
void platformVertexv(const float *) {}
void platformEndPolygon() {}
void platformLookAt(const float *, const float *, const float *) {}
void platformPerspective(double, double, double, double) {}
void platformPolygonMode(PolygonMode) {}
void platformSwapBuffers() {}

std::vector<TreeNode> tankTree()
{
    initState();
    float posed = 1000;
    for (int i = 0; i < drawnValueCount; ++i)
        if (drawnValues[i].field)
            tankModel.*drawnValues[i].field = ++posed;
    drawScene();
    for (size_t i = 0; i < recording.nodes.size(); ++i) {
        TreeNode &node = recording.nodes[i];
        const PartShapes &shapes = recording.shapes[i];
        if (shapes.polygons > 0)
            node.label.push_back(std::to_string(shapes.polygons) +
                                 (shapes.polygons == 1 ? " polygon" : " polygons"));
        node.label.insert(node.label.end(), shapes.cylinders.begin(),
                          shapes.cylinders.end());
        node.drawn = node.label.size() > 1;
    }
    initState();
    return recording.nodes;
}
