#include <gtest/gtest.h>
#include <set>
#include <string>

#include "render/diagram.h"
#include "render/render.h"
#include "tests/files.h"

namespace {

// As Graphviz writes text into SVG.
std::string svgEscaped(const std::string &text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '\'': out += "&#39;"; break;
        case '-': out += "&#45;"; break;
        default: out += c;
        }
    }
    return out;
}

// The diagram in docs/ shows the numbers the drawing really uses: written
// again from the drawing's measurements it must be what is committed, and
// the committed picture must carry every line of every label.
TEST(Diagram, DocsShowTheDrawingsMeasurements)
{
    const std::string dot = readFile(TANK_DOCS_DIR "/tank.dot");
    ASSERT_FALSE(dot.empty()) << TANK_DOCS_DIR "/tank.dot is missing";
    EXPECT_EQ(tankDiagram(), dot)
        << "docs/tank.dot is stale: run make docs and commit it";

    const std::string svg = readFile(TANK_DOCS_DIR "/tank.svg");
    ASSERT_FALSE(svg.empty()) << TANK_DOCS_DIR "/tank.svg is missing";
    int lines = 0;
    for (size_t at = dot.find("label=\""); at != std::string::npos;
         at = dot.find("label=\"", at + 1)) {
        const size_t start = at + 7;
        const std::string label = dot.substr(start, dot.find('"', start) - start);
        size_t from = 0;
        while (from <= label.size()) {
            size_t end = label.find("\\n", from);
            if (end == std::string::npos)
                end = label.size();
            const std::string line = label.substr(from, end - from);
            EXPECT_NE(svg.find(">" + svgEscaped(line) + "<"), std::string::npos)
                << "docs/tank.svg lacks \"" << line << "\": run make docs and commit it";
            ++lines;
            from = end + 2;
        }
    }
    EXPECT_GT(lines, 40);
}

// The page builds the tree in the order given, each part under its parent,
// and shows a live value for every {name} in it: a part before its parent,
// or a name the program does not report, would leave the page broken or a
// value stuck. Every value the page promises is in the tree.
TEST(Diagram, TreeGivesThePageEachPartAfterItsParentAndOnlyLiveValues)
{
    std::set<std::string> live, ids, named;
    for (int i = 0; i < drawnValueCount; ++i)
        live.insert(drawnValues[i].name);
    for (const TreeNode &node : tankTree()) {
        EXPECT_TRUE(node.parent.empty() ? ids.empty() : ids.count(node.parent) == 1)
            << node.id << " comes before its parent " << node.parent;
        EXPECT_TRUE(ids.insert(node.id).second) << node.id << " twice";
        for (const std::vector<std::string> *texts : {&node.steps, &node.label})
            for (const std::string &text : *texts)
                for (size_t at = text.find('{'); at != std::string::npos;
                     at = text.find('{', at + 1))
                    named.insert(text.substr(at + 1, text.find('}', at) - at - 1));
    }
    EXPECT_EQ(named, live);
}

// The drawing names each part as it reaches it, and the page chooses a part
// by its place in the JSON: the tree must hold every part in the order the
// drawing reaches it, under the part whose frame it was reached in, each
// box's push and pop its own.
TEST(Diagram, PartsAreTheDrawingsInItsOrder)
{
    const std::vector<std::string> order = {
        "world",          "tankFrame",     "frontRightWheel", "rearRightWheel",
        "frontLeftWheel", "rearLeftWheel", "bodyFrame",       "hull",
        "turretFrame",    "turret",        "cannonFrame",     "cannon"};
    std::vector<std::string> ids;
    for (const TreeNode &node : tankTree())
        ids.push_back(node.id);
    EXPECT_EQ(ids, order);
    const std::vector<TreeNode> tree = tankTree();
    ASSERT_EQ(tree.size(), order.size());
    EXPECT_EQ(tree[7].parent, "bodyFrame");
    EXPECT_EQ(tree[7].steps,
              (std::vector<std::string>{"push", "scale (4, 7, 1)", "pop"}));
    EXPECT_EQ(tree[8].parent, "bodyFrame");
    EXPECT_EQ(tree[8].steps, (std::vector<std::string>{"translate (0, 0, 0.75)",
                                                       "rotate {turretAngle} about Z"}));
    EXPECT_EQ(tree[6].steps.at(0), "rotate {pitch} = {speed} \xC3\x97 6 about X");
}

}  // namespace
