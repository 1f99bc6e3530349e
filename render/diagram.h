// The tank's tree of transforms, read from the drawing itself: as a
// Graphviz diagram (docs/tank.dot, rendered to docs/tank.svg) and as the
// live tree on the page, which reads it from its own GL as it runs.
#pragma once

#include <string>

#include "gl/common/tree.h"

// The tree the tank's drawing makes: drawScene() written down once with
// the model posed, each of its values set apart so that where one enters
// the drawing the step names it ({turretAngle}); the shape's values are
// numbers. The parts in the order the drawing reaches them, each after its
// parent. The model is left as it was.
const Tree &tankTree();

// The tree in Graphviz's language, each {name} written as its name.
std::string tankDiagram();

// The tree as JSON, the {name}s kept, for the page to show with values:
// [{"id", "parent", "steps", "label"}], a part that draws something with
// more than its name in its label. Kept until the next call.
const char *tankTreeJson();
