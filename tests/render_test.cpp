#include <GL/freeglut.h>
#include <cmath>
#include <gtest/gtest.h>

#include "app/scene.h"
#include "app/state.h"
#include "capture.h"
#include "gl_window.h"
#include "render/render.h"

namespace {

struct Matrix {
    double m[16];
};

Matrix projectionMatrix()
{
    Matrix p;
    glGetDoublev(GL_PROJECTION_MATRIX, p.m);
    return p;
}

GLint matrixMode()
{
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    return mode;
}

class Render : public testing::Test {
  protected:
    void SetUp() override
    {
        openTestWindow();
        initScene();
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
};

TEST_F(Render, OrthographicShowsFortyUnitsAcrossTheShorterSide)
{
    struct Case {
        int width, height;
        double unitsWide, unitsHigh;
    };
    const Case cases[] = {
        {640, 480, 40.0 * 640 / 480, 40},  // wide
        {480, 640, 40, 40.0 * 640 / 480},  // tall
        {500, 500, 40, 40},                // square
        {1, 1000, 40, 40000},              // extreme shapes stay finite
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        std::string out = captureStdout([&] { reshape(c.width, c.height); });
        EXPECT_EQ(out, "Reshape ORTHO\n");
        EXPECT_EQ(matrixMode(), GL_MODELVIEW);

        // GL keeps its matrices in single precision.
        Matrix p = projectionMatrix();
        EXPECT_NEAR(2 / p.m[0], c.unitsWide, 1e-6 * c.unitsWide);
        EXPECT_NEAR(2 / p.m[5], c.unitsHigh, 1e-6 * c.unitsHigh);
        EXPECT_NEAR(p.m[10], -2.0 / 200, 1e-8);  // near -100, far 100
        EXPECT_DOUBLE_EQ(p.m[12], 0);            // centred on the origin
        EXPECT_DOUBLE_EQ(p.m[13], 0);
        EXPECT_DOUBLE_EQ(p.m[14], 0);
        EXPECT_DOUBLE_EQ(p.m[15], 1);

        GLint vp[4];
        glGetIntegerv(GL_VIEWPORT, vp);
        EXPECT_EQ(vp[2], c.width);
        EXPECT_EQ(vp[3], c.height);
    }
}

TEST_F(Render, PerspectiveHasSixtyDegreesVerticallyNearOneFarHundred)
{
    appState.orthographic = false;
    const int sizes[][2] = {{640, 480}, {480, 640}, {500, 500}};
    for (const auto &s : sizes) {
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1]);
        std::string out = captureStdout([&] { reshape(s[0], s[1]); });
        EXPECT_EQ(out, "Reshape PERSPECTIVE\n");
        EXPECT_EQ(matrixMode(), GL_MODELVIEW);

        Matrix p = projectionMatrix();
        const double f = 1 / std::tan(30 * 3.14159265358979323846 / 180);
        const double aspect = double(s[0]) / s[1];
        EXPECT_NEAR(p.m[5], f, 1e-6);
        EXPECT_NEAR(p.m[0], f / aspect, 1e-6);
        EXPECT_NEAR(p.m[10], -101.0 / 99, 1e-6);
        EXPECT_NEAR(p.m[14], -200.0 / 99, 1e-6);
        EXPECT_DOUBLE_EQ(p.m[11], -1);
        EXPECT_DOUBLE_EQ(p.m[15], 0);
    }
}

TEST_F(Render, ZeroSizedWindowKeepsTheLastProjection)
{
    reshape(640, 480);  // trace on, but not checked here
    Matrix before = projectionMatrix();
    appState.orthographic = false;

    const int sizes[][2] = {{0, 480}, {640, 0}, {0, 0}};
    for (const auto &s : sizes) {
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1]);
        glMatrixMode(GL_MODELVIEW);
        std::string out = captureStdout([&] { reshape(s[0], s[1]); });
        EXPECT_EQ(out, "Reshape PERSPECTIVE\n");
        EXPECT_EQ(matrixMode(), GL_MODELVIEW);
        Matrix after = projectionMatrix();
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(after.m[i], before.m[i]) << "element " << i;
        GLint vp[4];
        glGetIntegerv(GL_VIEWPORT, vp);
        EXPECT_EQ(vp[2], s[0]);
        EXPECT_EQ(vp[3], s[1]);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(Render, TraceOffReshapesSilently)
{
    appState.debug = false;
    EXPECT_EQ(captureStdout([] { reshape(640, 480); }), "");
    EXPECT_EQ(matrixMode(), GL_MODELVIEW);
}

// Colours at points of the 640 x 480 orthographic frame that only a correct
// scene gives: the camera, the face colours and the tank's placement.
struct Probe {
    const char *what;
    int x, y;  // window pixel, origin bottom-left
    Pixel colour;
};

void expectColours(const Probe *probes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const Probe &p = probes[i];
        Pixel got = readPixel(p.x, p.y);
        EXPECT_TRUE(std::abs(got.r - p.colour.r) <= 2 &&
                    std::abs(got.g - p.colour.g) <= 2 &&
                    std::abs(got.b - p.colour.b) <= 2)
            << p.what << " at (" << p.x << ", " << p.y << "): got " << got.r << ","
            << got.g << "," << got.b << " want " << p.colour.r << "," << p.colour.g << ","
            << p.colour.b;
    }
}

const Pixel black{0, 0, 0}, grey{128, 128, 128}, red{255, 0, 0}, green{0, 255, 0},
    blue{0, 0, 255}, magenta{255, 0, 255};

TEST_F(Render, StartStateShowsTheTankFacingPlusY)
{
    appState.debug = false;
    reshape(640, 480);
    drawScene();
    glFlush();
    const Probe probes[] = {
        {"hull top", 299, 264, magenta},
        {"hull front", 350, 230, red},
        {"hull right side", 303, 239, green},
        {"rear right wheel", 281, 250, black},
        {"ground", 150, 240, grey},
        {"ground near the far corner", 320, 470, grey},
        {"background bottom left", 2, 2, black},
        {"background top left", 2, 477, black},
    };
    expectColours(probes, std::size(probes));
}

TEST_F(Render, HeadingTurnsTheTankAboutItsRearAxle)
{
    // Turned half round about the rear axle at (0, -2.8): the hull's back,
    // blue, now faces the camera from where the hull's centre used to be.
    appState.debug = false;
    tankModel.heading = 180;
    reshape(640, 480);
    drawScene();
    glFlush();
    const Probe probes[] = {
        {"hull back", 302, 257, blue},
        {"hull top, behind the old tail", 252, 281, magenta},
        {"ground in front of the old nose", 345, 215, grey},
    };
    expectColours(probes, std::size(probes));
}

TEST_F(Render, DrawTankLeavesTheModelviewAsItFoundIt)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    glRotatef(30, 0, 0, 1);
    glPushMatrix();
    GLint depthBefore = 0, depthAfter = 0;
    double before[16], after[16];
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    glGetDoublev(GL_MODELVIEW_MATRIX, before);

    tankModel = posedModel(3, -4, 0.52f, 45, 15, 100, 76);
    drawTank();

    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    glGetDoublev(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(depthAfter, depthBefore);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(after[i], before[i]) << "element " << i;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glPopMatrix();
}

}  // namespace
