// Writes the tank's tree of transforms on standard output: in Graphviz's
// language for make docs, or as JSON (--json) for the browser build's page,
// which the build writes into it.
#include <cstdio>
#include <cstring>

#include "render/diagram.h"

int main(int argc, char **argv)
{
    const bool json = argc > 1 && strcmp(argv[1], "--json") == 0;
    fputs((json ? tankTreeJson() : tankDiagram()).c_str(), stdout);
    return 0;
}
