#include "render/diagram.h"

#include <cstdio>

#include "render/tank_shape.h"

// Numbers as the drawing's constants hold them, shortest form first.
static std::string num(double value)
{
    char text[32];
    snprintf(text, sizeof text, "%g", static_cast<double>(static_cast<float>(value)));
    return text;
}

static std::string vec(double x, double y, double z)
{
    return "(" + num(x) + ", " + num(y) + ", " + num(z) + ")";
}

static const std::string times = "\xC3\x97";  // the multiplication sign, in UTF-8

static std::string box(const BoxSize &b)
{
    return num(b.width) + " " + times + " " + num(b.length) + " " + times + " " +
           num(b.height);
}

// One box of the tank: what it draws, and the scale that makes the unit
// cube into it between a push and a pop.
static TreeNode boxPart(const std::string &parent, const std::string &id,
                        const BoxSize &b)
{
    return TreeNode{id,
                    parent,
                    {"push", "scale " + vec(b.width, b.length, b.height), "pop"},
                    {id, "box " + box(b), "red front, blue back, green right,",
                     "yellow left, magenta top, cyan bottom"},
                    true};
}

std::vector<TreeNode> tankTree()
{
    const TankShape &t = tankShape;
    std::vector<TreeNode> tree;
    tree.push_back(
        TreeNode{"world",
                 "",
                 {},
                 {"world (Z up)", "ground: square " + num(2 * t.groundHalf) + " " +
                                      times + " " + num(2 * t.groundHalf) +
                                      " at z = 0, grey " + num(t.groundGrey)},
                 false});
    tree.push_back(TreeNode{
        "tank",
        "world",
        {"push", "translate ({x}, {y}, 0)", "push",
         "translate " + vec(0, -t.rearAxleY, 0), "rotate {heading} about Z",
         "translate " + vec(0, t.rearAxleY, 0), "translate " + vec(0, 0, t.rideHeight)},
        {"tank frame", "(on the hull's centre, at ride height)"},
        false});
    int i = 0;
    for (const WheelMount &w : t.wheels) {
        TreeNode wheel{
            "wheel" + std::to_string(i++),
            "tank",
            {"push", "translate " + vec(w.x, w.y, w.z)},
            {std::string(w.name) + " wheel",
             "cylinder radius " + num(t.wheelRadius) + ", length " + num(t.wheelWidth),
             std::to_string(t.wheelSlices) + " slices, " + std::to_string(t.wheelStacks) +
                 " stacks, black"},
            true};
        if (w.steers)
            wheel.steps.push_back("rotate {wheelAngle} about Z");
        wheel.steps.push_back("rotate " + num(t.wheelTurn) + " about Y");
        wheel.steps.push_back("pop");
        tree.push_back(wheel);
    }
    tree.push_back(TreeNode{
        "body",
        "tank",
        {"rotate {pitch} = {speed} " + times + " " + num(t.pitchPerSpeed) + " about X",
         "rotate {roll} = " + num(t.rollPerTurn) + " " + times + " {speed} " + times +
             " {wheelAngle} about Y"},
        {"body frame", "(pitched and rolled)"},
        false});
    tree.push_back(boxPart("body", "hull", t.hull));
    tree.push_back(
        TreeNode{"turretFrame",
                 "body",
                 {"translate " + vec(0, 0, t.turretLift), "rotate {turretAngle} about Z"},
                 {"turret frame"},
                 false});
    tree.push_back(boxPart("turretFrame", "turret", t.turret));
    tree.push_back(TreeNode{"cannonFrame",
                            "turretFrame",
                            {"translate " + vec(0, t.cannonPivotY, 0),
                             "rotate {cannonAngle} about X",
                             "translate " + vec(0, t.cannonReachY, 0)},
                            {"cannon frame", "(pivot on the turret's front face)"},
                            false});
    tree.push_back(boxPart("cannonFrame", "cannon", t.cannon));
    return tree;
}

// Lines joined as Graphviz writes a line break in a label, each {name}
// written as its name.
static std::string dotLines(const std::vector<std::string> &lines)
{
    std::string out;
    for (const std::string &line : lines) {
        if (!out.empty())
            out += "\\n";
        for (char c : line)
            if (c != '{' && c != '}')
                out += c;
    }
    return out;
}

std::string tankDiagram()
{
    std::string d =
        "// The tank's tree of transforms, in the order the drawing applies them.\n"
        "// Written by tank_diagram (make docs) from the drawing's own measurements.\n"
        "digraph tank {\n"
        "  node [shape=box, fontname=\"Helvetica\", fontsize=11];\n"
        "  edge [fontname=\"Helvetica\", fontsize=10];\n";
    for (const TreeNode &n : tankTree()) {
        d += "  " + n.id + " [label=\"" + dotLines(n.label) + "\"" +
             (n.drawn ? ", style=\"rounded,filled\", fillcolor=\"#fff4d6\"" : "") +
             "];\n";
        if (!n.parent.empty())
            d += "  " + n.parent + " -> " + n.id + " [label=\"" + dotLines(n.steps) +
                 "\"];\n";
    }
    d += "}\n";
    return d;
}

// A JSON string: the texts hold no control characters, quotes are escaped.
static std::string jsonText(const std::string &text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

static std::string jsonList(const std::vector<std::string> &texts)
{
    std::string out = "[";
    for (const std::string &text : texts)
        out += (out.size() > 1 ? "," : "") + jsonText(text);
    return out + "]";
}

std::string tankTreeJson()
{
    std::string out = "[";
    for (const TreeNode &n : tankTree()) {
        out += (out.size() > 1 ? ",\n" : "") + std::string("{\"id\":") + jsonText(n.id) +
               ",\"parent\":" + jsonText(n.parent) + ",\"steps\":" + jsonList(n.steps) +
               ",\"label\":" + jsonList(n.label) +
               ",\"drawn\":" + (n.drawn ? "true" : "false") + "}";
    }
    return out + "]\n";
}
