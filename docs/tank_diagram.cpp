// Writes what the docs and the page show of the program on standard output:
// the tank's tree of transforms in Graphviz's language for make docs, or as
// JSON (--json), as the page reads it from its own GL; or the table of keys
// as JSON (--keys), from which the page makes its buttons and its table of
// keys, and make docs the README's tables.
#include <cstdio>
#include <string>

#include "input/keys.h"
#include "render/diagram.h"

// A string as JSON writes it; the table's texts are plain UTF-8.
static std::string quoted(const char *text)
{
    std::string out = "\"";
    for (const char *c = text; *c; ++c) {
        if (*c == '"' || *c == '\\')
            out += '\\';
        out += *c;
    }
    return out + "\"";
}

// Each key in the table's order: its code (a byte, or GLUT's code for a
// special key), whether it is held, its button's text and title.
static std::string keysJson()
{
    std::string out = "[";
    for (int i = 0; i < keyBindingCount; ++i) {
        const KeyBinding &k = keyBindings[i];
        out += std::string(i ? ",\n" : "") + "{\"code\":" + std::to_string(k.code) +
               ",\"special\":" + (k.special ? "true" : "false") +
               ",\"held\":" + (k.held ? "true" : "false") +
               ",\"button\":" + quoted(k.button) + ",\"title\":" + quoted(k.title) + "}";
    }
    return out + "]\n";
}

int main(int argc, char **argv)
{
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "--keys")
        fputs(keysJson().c_str(), stdout);
    else
        fputs(what == "--json" ? tankTreeJson() : tankDiagram().c_str(), stdout);
    return 0;
}
