#include "render/diagram.h"

#include <cstdio>

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
        "// Written by tank_diagram (make docs) from the drawing's own calls.\n"
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
