// Writes the tank's diagram in Graphviz's language on standard output, for
// make docs.
#include <cstdio>

#include "render/diagram.h"

int main()
{
    fputs(tankDiagram().c_str(), stdout);
    return 0;
}
