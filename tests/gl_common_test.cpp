// The page's GL and the tools' stand on gl/common: its matrices must be
// the ones the system's GL and GLU make, its stacks must keep and refuse
// as GL's do, and its shapes must be what GL draws of a polygon and of
// GLU's cylinder in each polygon mode.
#include <GL/freeglut.h>
#include <GL/glu.h>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "gl/common/matrix.h"
#include "gl/common/parts.h"
#include "gl/common/shapes.h"
#include "gl_window.h"

namespace {

// The system's modelview after the calls, from the identity.
Matrix systemMatrix(void (*calls)())
{
    openTestWindow();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    calls();
    Matrix out;
    glGetFloatv(GL_MODELVIEW_MATRIX, out.m);
    glPopMatrix();
    return out;
}

void expectSameMatrix(const Matrix &ours, const Matrix &system, const char *what)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(ours.m[i], system.m[i], 1e-5 * (1 + std::fabs(system.m[i])))
            << what << ", element " << i;
}

TEST(GLCommon, MatricesAreTheSystemGLsAndGLUs)
{
    const double eye[3] = {40, 40, 40}, centre[3] = {0, 0, 0}, up[3] = {0, 0, 1};
    expectSameMatrix(translation(1.5, -2.8, 0.7),
                     systemMatrix([] { glTranslatef(1.5f, -2.8f, 0.7f); }), "translate");
    expectSameMatrix(rotation(33, 1, 2, 3), systemMatrix([] { glRotatef(33, 1, 2, 3); }),
                     "rotate about (1, 2, 3)");
    expectSameMatrix(rotation(-90, 0, 1, 0),
                     systemMatrix([] { glRotatef(-90, 0, 1, 0); }), "rotate about Y");
    expectSameMatrix(scaling(4, 7, 0.5), systemMatrix([] { glScalef(4, 7, 0.5f); }),
                     "scale");
    expectSameMatrix(orthographic(-26.5, 26.5, -20, 20, -100, 100),
                     systemMatrix([] { glOrtho(-26.5, 26.5, -20, 20, -100, 100); }),
                     "glOrtho");
    expectSameMatrix(perspective(60, 640.0 / 480, 1, 100),
                     systemMatrix([] { gluPerspective(60, 640.0 / 480, 1, 100); }),
                     "gluPerspective");
    expectSameMatrix(lookAt(eye, centre, up),
                     systemMatrix([] { gluLookAt(40, 40, 40, 0, 0, 0, 0, 0, 1); }),
                     "gluLookAt");
    // Each transform multiplies on the right, as GL's do.
    expectSameMatrix(product(lookAt(eye, centre, up), rotation(15, 0, 0, 1)),
                     systemMatrix([] {
                         gluLookAt(40, 40, 40, 0, 0, 0, 0, 0, 1);
                         glRotatef(15, 0, 0, 1);
                     }),
                     "gluLookAt, then rotate");
}

TEST(GLCommon, StacksKeepWhatIsPushedAndRefuseAsGLDoes)
{
    MatrixStacks stacks;
    multiplyMatrix(stacks, translation(1, 2, 3));
    EXPECT_TRUE(pushMatrix(stacks));
    multiplyMatrix(stacks, scaling(2, 2, 2));
    EXPECT_EQ(topOf(stacks.modelview).m[0], 2);
    EXPECT_TRUE(popMatrix(stacks));
    EXPECT_EQ(topOf(stacks.modelview).m[0], 1);
    EXPECT_EQ(topOf(stacks.modelview).m[12], 1);
    EXPECT_FALSE(popMatrix(stacks)) << "a pop of the last matrix";
    EXPECT_EQ(topOf(stacks.modelview).m[13], 2);

    // Each mode has its own stack.
    stacks.changingProjection = true;
    loadIdentity(stacks);
    multiplyMatrix(stacks, scaling(3, 3, 3));
    EXPECT_EQ(topOf(stacks.projection).m[0], 3);
    EXPECT_EQ(topOf(stacks.modelview).m[12], 1);

    int pushes = 0;
    while (pushMatrix(stacks))
        ++pushes;
    EXPECT_EQ(pushes, matrixStackDepth - 1);
    EXPECT_EQ(topOf(stacks.projection).m[0], 3);
}

std::vector<int> taken;
void take(int index)
{
    taken.push_back(index);
}

// The indices a polygon of count corners hands out, as a GL given them one
// by one would draw them.
std::vector<int> polygonDrawn(PolygonFill mode, int count)
{
    taken.clear();
    for (int n = 0; n < count; ++n)
        polygonCornerGiven(mode, n, take);
    polygonEnded(mode, count, take);
    return taken;
}

TEST(GLCommon, PolygonsAreFansOutlinesOrPoints)
{
    using V = std::vector<int>;
    EXPECT_EQ(polygonDrawn(PolygonFill::fill, 4), (V{0, 1, 2, 0, 2, 3}));
    EXPECT_EQ(polygonDrawn(PolygonFill::fill, 5), (V{0, 1, 2, 0, 2, 3, 0, 3, 4}));
    EXPECT_EQ(polygonDrawn(PolygonFill::line, 4), (V{0, 1, 1, 2, 2, 3, 3, 0}));
    EXPECT_EQ(polygonDrawn(PolygonFill::point, 4), (V{0, 1, 2, 3}));
    for (PolygonFill mode : {PolygonFill::fill, PolygonFill::line, PolygonFill::point})
        EXPECT_EQ(polygonDrawn(mode, 2), V{}) << "two corners make no polygon";
}

std::vector<Corner> cornersTaken;
void takeCorner(const Corner &c)
{
    cornersTaken.push_back(c);
}

std::vector<Corner> cylinderDrawn(const Cylinder &c, PolygonFill mode)
{
    cornersTaken.clear();
    cylinderCorners(c, mode, takeCorner);
    return cornersTaken;
}

bool near(const Corner &a, const Corner &b)
{
    return std::fabs(a.x - b.x) < 1e-9 && std::fabs(a.y - b.y) < 1e-9 &&
           std::fabs(a.z - b.z) < 1e-9;
}

TEST(GLCommon, CylindersAreGLUsInEachMode)
{
    const Cylinder wheel{0.5, 0.5, 0.4, 20, 2};
    // GLU's first slice is at +Y, the slices turn towards +X, the stacks go
    // up +Z; the last slice closes on the first.
    EXPECT_TRUE(near(cylinderCorner(wheel, 0, 0), Corner{0, 0.5, 0}));
    EXPECT_TRUE(near(cylinderCorner(wheel, 5, 1), Corner{0.5, 0, 0.2}));
    EXPECT_TRUE(near(cylinderCorner(wheel, 20, 2), Corner{0, 0.5, 0.4}));
    const Cylinder cone{1, 0, 2, 4, 2};
    EXPECT_TRUE(near(cylinderCorner(cone, 2, 1), Corner{0, -0.5, 1}));

    // Filled: every quad of every band, band by band, slice by slice from
    // slice 0, as two triangles sharing its diagonal; each corner exactly
    // the one GLU's formula gives, however the drawing comes by it.
    const std::vector<Corner> fill = cylinderDrawn(wheel, PolygonFill::fill);
    ASSERT_EQ(fill.size(), 6u * 20 * 2);
    const int drawn[6][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (size_t at = 0; at < fill.size(); ++at) {
        const int quad = int(at / 6), band = quad / 20, slice = quad % 20;
        const int *offset = drawn[at % 6];
        const Corner want = cylinderCorner(wheel, slice + offset[0], band + offset[1]);
        EXPECT_TRUE(fill[at].x == want.x && fill[at].y == want.y && fill[at].z == want.z)
            << "band " << band << ", slice " << slice << ", corner " << at % 6;
    }
    // Outlined: a ring at each of the three stacks, a line along each slice
    // of each band; each segment one edge of a quad.
    const std::vector<Corner> line = cylinderDrawn(wheel, PolygonFill::line);
    ASSERT_EQ(line.size(), 2u * (20 * 3 + 20 * 2));
    for (size_t i = 0; i < line.size(); i += 2) {
        const double dz = std::fabs(line[i].z - line[i + 1].z);
        const double across =
            std::hypot(line[i].x - line[i + 1].x, line[i].y - line[i + 1].y);
        EXPECT_TRUE((dz == 0 && across > 0.1) ||
                    (std::fabs(dz - 0.2) < 1e-9 && across < 1e-9))
            << "segment " << i / 2 << " is no edge of a quad";
    }
    EXPECT_EQ(cylinderDrawn(wheel, PolygonFill::point).size(), 20u * 3);
    EXPECT_TRUE(cylinderDrawn(Cylinder{1, 1, 1, 0, 2}, PolygonFill::fill).empty());
}

TEST(GLCommon, PartsAreNamedUnderTheFrameTheyAreNamedIn)
{
    PartsSeen seen;
    startParts(seen);
    const int world = partNamed(seen, "world");
    partsPushed(seen);
    const int frame = partNamed(seen, "turret frame");
    partsPushed(seen);
    const int box = partNamed(seen, "turret");
    partsPopped(seen);
    const int again = partNamed(seen, "turret");
    partsPopped(seen);
    const int ground = partNamed(seen, "ground!");
    EXPECT_STREQ(seen.parts[static_cast<size_t>(frame)].id, "turretFrame");
    EXPECT_STREQ(seen.parts[static_cast<size_t>(again)].id, "turret2");
    EXPECT_EQ(seen.parts[static_cast<size_t>(frame)].parent, world);
    EXPECT_EQ(seen.parts[static_cast<size_t>(box)].parent, frame);
    EXPECT_EQ(seen.parts[static_cast<size_t>(again)].parent, frame);
    EXPECT_EQ(seen.parts[static_cast<size_t>(ground)].parent, world);
    EXPECT_TRUE(partIsUnder(seen, box, world));
    EXPECT_TRUE(partIsUnder(seen, box, box));
    EXPECT_FALSE(partIsUnder(seen, frame, box));
    EXPECT_FALSE(partIsUnder(seen, ground, frame));
    startParts(seen);
    EXPECT_EQ(partNow(seen), -1);
    EXPECT_STREQ(seen.parts.empty() ? "" : "left over", "");
}

}  // namespace
