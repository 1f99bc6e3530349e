// The tank's tree of transforms, read from the drawing itself: as a
// Graphviz diagram (docs/tank.dot, rendered to docs/tank.svg) and as the
// live tree on the browser build's page.
#pragma once

#include <string>
#include <vector>

// One part of the tree: the matrix steps that lead to it from its parent's
// frame, in the order the drawing makes them, and what it is. Values of
// the model stand in the steps as {name} (render.h's drawnValues).
struct TreeNode {
    std::string id;      // its name in English, as one word: "turretFrame"
    std::string parent;  // empty for the world
    std::vector<std::string> steps;
    std::vector<std::string> label;  // its name, then what it draws
    bool drawn;                      // draws something, rather than a frame alone
};

// The tree the drawing makes: drawScene() run once with GL's matrix calls
// and the platform's drawing written down rather than drawn (render/
// tree.cpp), each model value set apart so that it is known where it
// enters. The parts in the order the drawing reaches them, each after its
// parent.
std::vector<TreeNode> tankTree();

// The tree any drawing makes, read the same way: draw is run once with the
// tools' GL, every value in its steps a number.
std::vector<TreeNode> treeOf(void (*draw)());

// The tree in Graphviz's language, each {name} written as its name.
std::string tankDiagram();

// The tree as JSON, the {name}s kept, for the page to show with values.
std::string tankTreeJson();
