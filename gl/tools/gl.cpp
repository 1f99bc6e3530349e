// The tools' GL: the tree of transforms, read from the drawing itself. In
// the tools that write the tree (tank_diagram for make docs, the page's
// build), this file is OpenGL, GLU and GLUT for the calls the program makes:
// the scene is drawn once and every push, pop, translate, rotate and scale
// is written down rather than done, each part named where the drawing
// names it, each shape counted in its part. Nothing is drawn, and no GL is
// linked. The model is posed with a value of its own for each of
// drawnValues (render.h), so that where one enters the drawing the step
// names it rather than a number.
#include <GL/glut.h>
#include <cstdio>
#include <cstdlib>

#include "app/state.h"
#include "gl/common/parts.h"
#include "gl/part.h"
#include "platform/platform.h"
#include "render/diagram.h"
#include "render/render.h"

// A part's shapes as the drawing made them in its frame.
struct PartShapes {
    int polygons;
    std::vector<std::string> cylinders;
};

// What the drawing has done so far. seen holds the parts and, for each
// level of the matrix stack, the part whose frame that level is in;
// pushedBy, for each level above the first, the part whose steps hold the
// push that opened it (-1 while that push is still pending); pending, the
// steps made since the last part was named.
struct TreeRecording {
    std::vector<TreeNode> nodes;
    std::vector<PartShapes> shapes;
    std::vector<std::string> pending;
    PartsSeen seen;
    std::vector<int> pushedBy;
    bool changingProjection = false;
    bool posed = false;  // the tank posed: its values are named in the steps
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
    for (int i = 0; recording.posed && i < drawnValueCount; ++i) {
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
    if (recording.changingProjection)
        return;
    step("push");
    partsPushed(recording.seen);
    recording.pushedBy.push_back(-1);
}

void GLAPIENTRY glPopMatrix()
{
    if (recording.changingProjection || recording.pushedBy.empty())
        return;  // more pops than pushes: GL would refuse it too
    const int owner = recording.pushedBy.back();
    if (owner < 0)
        step("pop");
    else if (static_cast<size_t>(owner) + 1 == recording.nodes.size())
        recording.nodes.back().steps.push_back("pop");
    partsPopped(recording.seen);
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

// A new frame of the modelview starts a new tree.
void GLAPIENTRY glLoadIdentity()
{
    if (recording.changingProjection)
        return;
    recording.nodes.clear();
    recording.shapes.clear();
    recording.pending.clear();
    startParts(recording.seen);
    recording.pushedBy.clear();
}

void GLAPIENTRY glMatrixMode(GLenum mode)
{
    recording.changingProjection = mode == GL_PROJECTION;
}

// What the scene does besides the tank's matrices has no step in the tree.
void GLAPIENTRY glViewport(GLint, GLint, GLsizei, GLsizei) {}
void GLAPIENTRY glOrtho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}
void GLAPIENTRY gluPerspective(GLdouble, GLdouble, GLdouble, GLdouble) {}
void GLAPIENTRY gluLookAt(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble,
                          GLdouble, GLdouble, GLdouble)
{
}
void GLAPIENTRY glClear(GLbitfield) {}
void GLAPIENTRY glFlush() {}
void GLAPIENTRY glColor3f(GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glColor3fv(const GLfloat *) {}
void GLAPIENTRY glVertex3f(GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glVertex3fv(const GLfloat *) {}
void GLAPIENTRY glEnd() {}
void GLAPIENTRY glPolygonMode(GLenum, GLenum) {}
void FGAPIENTRY glutSwapBuffers() {}

void namePart(const char *name)
{
    const int parent = partNow(recording.seen);
    const int part = partNamed(recording.seen, name);
    recording.nodes.push_back(
        TreeNode{recording.seen.parts[static_cast<size_t>(part)].id,
                 parent < 0 ? "" : recording.nodes[static_cast<size_t>(parent)].id,
                 recording.pending,
                 {name},
                 false});
    recording.shapes.push_back(PartShapes{0, {}});
    recording.pending.clear();
    for (int &owner : recording.pushedBy)
        if (owner < 0)
            owner = part;
}

// A shape belongs to the part whose frame it is drawn in.
static PartShapes *shapesNow()
{
    const int part = partNow(recording.seen);
    return part < 0 ? nullptr : &recording.shapes[static_cast<size_t>(part)];
}

void GLAPIENTRY glBegin(GLenum)
{
    if (PartShapes *shapes = shapesNow())
        ++shapes->polygons;
}

// The quadric holds GLU's defaults, which the tools have no use for.
struct GLUquadric {
    int unused;
};

GLUquadric *GLAPIENTRY gluNewQuadric()
{
    static GLUquadric quadric;
    return &quadric;
}

void GLAPIENTRY gluCylinder(GLUquadric *, GLdouble baseRadius, GLdouble topRadius,
                            GLdouble height, GLint slices, GLint stacks)
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

// The tools write the tree, not the program's trace, and never run its
// keys' actions: they read the table of keys (input/keys.cpp).
void platformWrite(const char *, std::size_t) {}
void platformExit(int status)
{
    std::exit(status);
}
int FGAPIENTRY glutGet(GLenum)
{
    return 0;
}

static std::vector<TreeNode> readTree(void (*draw)(), bool posed)
{
    recording = TreeRecording{};
    recording.posed = posed;
    startParts(recording.seen);
    draw();
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
    return recording.nodes;
}

std::vector<TreeNode> treeOf(void (*draw)())
{
    return readTree(draw, false);
}

std::vector<TreeNode> tankTree()
{
    initState();
    float posed = 1000;
    for (int i = 0; i < drawnValueCount; ++i)
        if (drawnValues[i].field)
            tankModel.*drawnValues[i].field = ++posed;
    std::vector<TreeNode> tree = readTree(drawScene, true);
    initState();
    return tree;
}
