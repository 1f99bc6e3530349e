#include <GL/glut.h>
#include <gtest/gtest.h>
#include <set>
#include <string>

#include "gl/part.h"
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
    const Tree &tree = tankTree();
    for (size_t i = 0; i < tree.seen.parts.size(); ++i) {
        const NamedPart &part = tree.seen.parts[i];
        EXPECT_TRUE(part.parent < 0 ? i == 0 : static_cast<size_t>(part.parent) < i)
            << part.id << " comes before its parent";
        EXPECT_TRUE(ids.insert(part.id).second) << part.id << " twice";
    }
    for (const TreeText &line : tree.texts) {
        EXPECT_GE(line.part, 0) << "\"" << line.text << "\" belongs to no part";
        const std::string text = line.text;
        for (size_t at = text.find('{'); at != std::string::npos;
             at = text.find('{', at + 1))
            named.insert(text.substr(at + 1, text.find('}', at) - at - 1));
    }
    EXPECT_EQ(named, live);
}

// A drawing made for the test: an arm on a base, two fingers drawn in a
// loop under it, and a palm, a box with its own push, scale and pop.
void drawArm()
{
    static GLUquadric *finger = gluNewQuadric();
    glLoadIdentity();
    namePart("base");
    glPushMatrix();
    glTranslatef(1, 2, 3);
    namePart("arm frame");
    for (int i = 0; i < 2; ++i) {
        glPushMatrix();
        glRotatef(180.0f * static_cast<float>(i), 0, 0, 1);
        namePart("finger");
        gluCylinder(finger, 0.5, 0.25, 2, 8, 1);
        glPopMatrix();
    }
    glPushMatrix();
    glScalef(2, 1, 0.5f);
    namePart("palm");
    for (int face = 0; face < 2; ++face) {
        glBegin(GL_POLYGON);
        glEnd();
    }
    glPopMatrix();
    glPopMatrix();
}

// Every part in the order the drawing names it, under the part whose frame
// it was named in, with the steps from that frame to its own and what it
// draws; a name given twice numbered; a box's pop its own, the arm's with
// the parts under it.
TEST(Diagram, TreeIsTheDrawingsPartsStepsAndShapes)
{
    using Texts = std::vector<std::string>;
    struct Part {
        std::string id;
        int parent;
        Texts steps, label;
        bool drawn;
    };
    const std::vector<Part> want = {
        {"base", -1, {}, {"base"}, false},
        {"armFrame", 0, {"push", "translate (1, 2, 3)"}, {"arm frame"}, false},
        {"finger",
         1,
         {"push", "rotate 0 about Z", "pop"},
         {"finger", "cylinder radius 0.5 to 0.25, length 2", "8 slices, 1 stacks"},
         true},
        {"finger2",
         1,
         {"push", "rotate 180 about Z", "pop"},
         {"finger", "cylinder radius 0.5 to 0.25, length 2", "8 slices, 1 stacks"},
         true},
        {"palm", 1, {"push", "scale (2, 1, 0.5)", "pop"}, {"palm", "2 polygons"}, true},
    };
    const Tree &got = writeTreeDown(drawArm, nullptr);
    // A part's label is its name, its polygons, then what else it draws.
    const auto texts = [&got](size_t part, bool steps) {
        Texts out;
        if (!steps) {
            out.push_back(got.seen.parts[part].name);
            if (const int n = got.polygons[part])
                out.push_back(std::to_string(n) + (n == 1 ? " polygon" : " polygons"));
        }
        for (const TreeText &line : got.texts)
            if (line.part == static_cast<int>(part) && line.step == steps)
                out.push_back(line.text);
        return out;
    };
    ASSERT_EQ(got.seen.parts.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE(want[i].id);
        EXPECT_EQ(got.seen.parts[i].id, want[i].id);
        EXPECT_EQ(got.seen.parts[i].parent, want[i].parent);
        EXPECT_EQ(texts(i, true), want[i].steps);
        EXPECT_EQ(texts(i, false), want[i].label);
        EXPECT_EQ(partDraws(got, static_cast<int>(i)), want[i].drawn);
    }
}

}  // namespace
