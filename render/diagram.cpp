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

static std::string box(const BoxSize &b)
{
    return num(b.width) + " \xC3\x97 " + num(b.length) + " \xC3\x97 " + num(b.height);
}

static std::string node(const std::string &id, const std::string &label,
                        const char *extra = "")
{
    return "  " + id + " [label=\"" + label + "\"" + extra + "];\n";
}

static std::string edge(const std::string &from, const std::string &to,
                        const std::string &label)
{
    return "  " + from + " -> " + to + " [label=\"" + label + "\"];\n";
}

static const char *partStyle = ", style=\"rounded,filled\", fillcolor=\"#fff4d6\"";

// One box of the tank: what it draws, and the scale that makes the unit
// cube into it between a push and a pop.
static std::string boxPart(const std::string &parent, const std::string &id,
                           const BoxSize &b)
{
    return node(id,
                id + "\\nbox " + box(b) +
                    "\\nred front, blue back, green right,\\nyellow left, magenta top, "
                    "cyan "
                    "bottom",
                partStyle) +
           edge(parent, id,
                "push\\nscale " + vec(b.width, b.length, b.height) + "\\npop");
}

std::string tankDiagram()
{
    const TankShape &t = tankShape;
    std::string d =
        "// The tank's tree of transforms, in the order the drawing applies them.\n"
        "// Written by tank_diagram (make docs) from the drawing's own measurements.\n"
        "digraph tank {\n"
        "  node [shape=box, fontname=\"Helvetica\", fontsize=11];\n"
        "  edge [fontname=\"Helvetica\", fontsize=10];\n";
    d += node("world", "world (Z up)\\nground: square " + num(2 * t.groundHalf) +
                           " \xC3\x97 " + num(2 * t.groundHalf) + " at z = 0, grey " +
                           num(t.groundGrey));
    d += node("tank", "tank frame\\n(on the hull's centre, at ride height)");
    d += edge("world", "tank",
              "push\\ntranslate (x, y, 0)\\npush\\ntranslate " + vec(0, -t.rearAxleY, 0) +
                  "\\nrotate heading about Z\\ntranslate " + vec(0, t.rearAxleY, 0) +
                  "\\ntranslate " + vec(0, 0, t.rideHeight));
    int i = 0;
    for (const WheelMount &w : t.wheels) {
        std::string id = "wheel" + std::to_string(i++);
        d += node(id,
                  std::string(w.name) + " wheel\\ncylinder radius " + num(t.wheelRadius) +
                      ", length " + num(t.wheelWidth) + "\\n" +
                      std::to_string(t.wheelSlices) + " slices, " +
                      std::to_string(t.wheelStacks) + " stacks, black",
                  partStyle);
        d += edge("tank", id,
                  "push\\ntranslate " + vec(w.x, w.y, w.z) +
                      (w.steers ? "\\nrotate wheelAngle about Z" : "") + "\\nrotate " +
                      num(t.wheelTurn) + " about Y\\npop");
    }
    d += node("body", "body frame\\n(pitched and rolled)");
    d += edge("tank", "body",
              "rotate speed \xC3\x97 " + num(t.pitchPerSpeed) + " about X\\nrotate " +
                  num(t.rollPerTurn) + " \xC3\x97 speed \xC3\x97 wheelAngle about Y");
    d += boxPart("body", "hull", t.hull);
    d += node("turretFrame", "turret frame");
    d += edge("body", "turretFrame",
              "translate " + vec(0, 0, t.turretLift) + "\\nrotate turretAngle about Z");
    d += boxPart("turretFrame", "turret", t.turret);
    d += node("cannonFrame", "cannon frame\\n(pivot on the turret's front face)");
    d += edge("turretFrame", "cannonFrame",
              "translate " + vec(0, t.cannonPivotY, 0) + "\\nrotate cannonAngle about X" +
                  "\\ntranslate " + vec(0, t.cannonReachY, 0));
    d += boxPart("cannonFrame", "cannon", t.cannon);
    d += "}\n";
    return d;
}
