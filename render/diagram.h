// The tank's tree of transforms, written from the same measurements the
// drawing uses: as a Graphviz diagram (docs/tank.dot, rendered to
// docs/tank.svg) and as the live tree on the browser build's page.
#pragma once

#include <string>
#include <vector>

// One part of the tree: the transforms that lead to it from its parent, in
// the order the drawing applies them, and what it is. Values that come from
// the model stand in the steps as {name}: x, y, heading, wheelAngle,
// turretAngle, cannonAngle, speed, and pitch and roll, the body's attitude.
struct TreeNode {
    std::string id;
    std::string parent;  // empty for the world
    std::vector<std::string> steps;
    std::vector<std::string> label;
    bool drawn;  // a box or a wheel, rather than a frame
};

std::vector<TreeNode> tankTree();

// The parts of tankTree(), in its order: the drawing names each as it
// reaches its frame.
enum class TreePart {
    world,
    tank,
    wheel0,
    wheel1,
    wheel2,
    wheel3,
    body,
    hull,
    turretFrame,
    turret,
    cannonFrame,
    cannon,
};

// The tree in Graphviz's language, each {name} written as its name.
std::string tankDiagram();

// The tree as JSON, the {name}s kept, for the page to show with values.
std::string tankTreeJson();
