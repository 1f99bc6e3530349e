// The tank's tree of transforms as a Graphviz diagram, written from the same
// measurements the drawing uses (docs/tank.dot, rendered to docs/tank.svg).
#pragma once

#include <string>

std::string tankDiagram();
