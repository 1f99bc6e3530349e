#include "render/diagram.h"

#include <cstdio>
#include <cstring>

#include "app/state.h"
#include "render/render.h"

// A value of a step by the model's value it is, with how the drawing works
// it out when it does; no name for any other number. A value posed as 0 (a
// product with a constant of 0) is not told from a plain 0, nor named.
static bool drawnValueName(float value, char *out, size_t room)
{
    for (int i = 0; i < drawnValueCount; ++i) {
        const DrawnValue &d = drawnValues[i];
        const float posed = drawnValue(d, tankModel);
        if (posed == 0 || (value != posed && value != -posed))
            continue;
        const int n = snprintf(out, room, "%s{%s}", value == posed ? "" : "-", d.name);
        if (d.formula && n > 0 && static_cast<size_t>(n) + 3 < room) {
            snprintf(out + n, room - static_cast<size_t>(n), " = ");
            snprintf(out + n + 3, room - static_cast<size_t>(n) - 3, d.formula,
                     static_cast<double>(static_cast<float>(*d.constant)));
        }
        return true;
    }
    return false;
}

const Tree &tankTree()
{
    const TankModel live = tankModel;
    float posed = 1000;
    for (int i = 0; i < drawnValueCount; ++i)
        if (drawnValues[i].field)
            tankModel.*drawnValues[i].field = ++posed;
    const Tree &tree = writeTreeDown(drawScene, drawnValueName);
    tankModel = live;
    return tree;
}

// A part's label, line by line: its name, its polygons, what else it draws.
static void polygonsLine(const Tree &tree, size_t part, char *out, size_t room)
{
    const int n = tree.polygons[part];
    snprintf(out, room, "%d %s", n, n == 1 ? "polygon" : "polygons");
}

// Lines joined as Graphviz writes a line break in a label, each {name}
// written as its name.
static void addDotLine(std::string &out, const char *line)
{
    if (!out.empty())
        out += "\\n";
    for (const char *c = line; *c; ++c)
        if (*c != '{' && *c != '}')
            out += *c;
}

static std::string dotLines(const Tree &tree, size_t part, bool steps)
{
    std::string out;
    if (!steps) {
        addDotLine(out, tree.seen.parts[part].name);
        char polygons[32];
        polygonsLine(tree, part, polygons, sizeof polygons);
        if (tree.polygons[part] > 0)
            addDotLine(out, polygons);
    }
    for (const TreeText &text : tree.texts)
        if (text.part == static_cast<int>(part) && text.step == steps)
            addDotLine(out, text.text);
    return out;
}

std::string tankDiagram()
{
    std::string d =
        "// The tank's tree of transforms, in the order the drawing applies them.\n"
        "// Written by tank_diagram (make docs) from the drawing's own calls.\n"
        "digraph tank {\n"
        "  node [shape=box, fontname=\"Helvetica\", fontsize=11];\n"
        "  edge [fontname=\"Helvetica\", fontsize=10];\n";
    const Tree &tree = tankTree();
    for (size_t i = 0; i < tree.seen.parts.size(); ++i) {
        const NamedPart &n = tree.seen.parts[i];
        d += "  " + std::string(n.id) + " [label=\"" + dotLines(tree, i, false) + "\"" +
             (partDraws(tree, static_cast<int>(i))
                  ? ", style=\"rounded,filled\", fillcolor=\"#fff4d6\""
                  : "") +
             "];\n";
        if (n.parent >= 0)
            d += "  " + std::string(tree.seen.parts[static_cast<size_t>(n.parent)].id) +
                 " -> " + n.id + " [label=\"" + dotLines(tree, i, true) + "\"];\n";
    }
    d += "}\n";
    return d;
}

// JSON written into one growing buffer, ended by a nul.
static void add(List<char> &out, const char *text)
{
    for (const char *c = text; *c; ++c)
        added(out) = *c;
}

// A JSON string: the texts hold no control characters, quotes are escaped.
static void addText(List<char> &out, const char *text)
{
    added(out) = '"';
    for (const char *c = text; *c; ++c) {
        if (*c == '"' || *c == '\\')
            added(out) = '\\';
        added(out) = *c;
    }
    added(out) = '"';
}

// The texts of one part, steps or what it draws, as a list's items.
static void addTexts(List<char> &out, const Tree &tree, size_t part, bool steps,
                     bool first)
{
    for (const TreeText &text : tree.texts) {
        if (text.part != static_cast<int>(part) || text.step != steps)
            continue;
        if (!first)
            added(out) = ',';
        addText(out, text.text);
        first = false;
    }
}

const char *tankTreeJson()
{
    static List<char> out;
    out.count = 0;
    const Tree &tree = tankTree();
    added(out) = '[';
    for (size_t i = 0; i < tree.seen.parts.size(); ++i) {
        const NamedPart &n = tree.seen.parts[i];
        add(out, i ? ",\n{\"id\":" : "{\"id\":");
        addText(out, n.id);
        add(out, ",\"parent\":");
        addText(out,
                n.parent < 0 ? "" : tree.seen.parts[static_cast<size_t>(n.parent)].id);
        add(out, ",\"steps\":[");
        addTexts(out, tree, i, true, true);
        add(out, "],\"label\":[");
        addText(out, n.name);
        if (tree.polygons[i] > 0) {
            char polygons[32];
            polygonsLine(tree, i, polygons, sizeof polygons);
            added(out) = ',';
            addText(out, polygons);
        }
        addTexts(out, tree, i, false, false);
        add(out, "]}");
    }
    add(out, "]\n");
    added(out) = '\0';
    return out.items;
}
