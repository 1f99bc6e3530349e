// Whole frames of known states compared with reference images in
// tests/golden/. Rendering with the same Mesa is deterministic, so a frame
// must match its reference to within a few pixels; anything that moves a
// box, a wheel or the camera changes far more.
//
// TANK_GOLDEN_UPDATE=1 (make golden) writes the references instead.
#include <GL/freeglut.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

#include "app/scene.h"
#include "app/state.h"
#include "capture.h"
#include "gl_window.h"
#include "png_io.h"
#include "render/render.h"

namespace {

// A one-pixel change of an edge rule in the rasterizer may move a handful
// of pixels; the smallest real fault seen (a wheel 10 % too small) moves
// about 60, and some move under 20, so the allowance stays in single digits.
const int allowedDifferentPixels = 5;

struct GoldenState {
    const char *name;
    int width, height;
    TankModel model;
    bool orthographic;
    GLenum polygonMode;
};

// Every transform of the tank with a non-zero value: position, heading,
// pitch (speed), roll and steering (speed and wheel angle), turret, cannon.
const TankModel busy = posedModel(3, -4, 0.52f, 35, 15, 60, 40);

const GoldenState states[] = {
    {"start", 640, 480, TankModel{}, true, GL_FILL},
    {"busy", 640, 480, busy, true, GL_FILL},
    {"busy-lines", 640, 480, busy, true, GL_LINE},
    {"busy-points", 640, 480, busy, true, GL_POINT},
    {"busy-perspective", 640, 480, busy, false, GL_FILL},
    {"busy-tall", 300, 500, busy, true, GL_FILL},
};

// Resizes the test window and waits until the window system has done it.
bool resizeWindow(int width, int height)
{
    if (glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height)
        return true;
    glutReshapeWindow(width, height);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        glutMainLoopEvent();
        if (glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height)
            return true;
    }
    return false;
}

// The back buffer, rows from the top as image files keep them.
Image readFrame(int width, int height)
{
    Image frame;
    frame.width = width;
    frame.height = height;
    frame.rgb.resize(size_t(width) * size_t(height) * 3);
    std::vector<unsigned char> rows(frame.rgb.size());
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    const size_t stride = size_t(width) * 3;
    for (int y = 0; y < height; ++y)
        std::copy_n(&rows[size_t(height - 1 - y) * stride], stride,
                    &frame.rgb[size_t(y) * stride]);
    return frame;
}

Image renderState(const GoldenState &s)
{
    initScene();
    appState.debug = false;
    appState.orthographic = s.orthographic;
    tankModel = s.model;
    glPolygonMode(GL_FRONT_AND_BACK, s.polygonMode);
    reshape(s.width, s.height);
    drawScene();
    glFlush();
    Image frame = readFrame(s.width, s.height);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    return frame;
}

// Pixels that differ, and an image showing them: differing pixels white,
// the rest a dim copy of the reference so the place can be seen.
int countDifferences(const Image &want, const Image &got, Image &diff)
{
    diff = want;
    int count = 0;
    for (size_t i = 0; i < want.rgb.size(); i += 3) {
        bool same = want.rgb[i] == got.rgb[i] && want.rgb[i + 1] == got.rgb[i + 1] &&
                    want.rgb[i + 2] == got.rgb[i + 2];
        for (size_t c = 0; c < 3; ++c)
            diff.rgb[i + c] =
                static_cast<unsigned char>(same ? want.rgb[i + c] / 4 : 255);
        count += same ? 0 : 1;
    }
    return count;
}

TEST(Golden, FramesOfKnownStatesMatchTheirReferences)
{
    openTestWindow();
    const bool update = getenv("TANK_GOLDEN_UPDATE") != nullptr;
    const std::string outDir = TANK_GOLDEN_OUT;
    mkdir(outDir.c_str(), 0755);

    for (const GoldenState &s : states) {
        SCOPED_TRACE(s.name);
        ASSERT_TRUE(resizeWindow(s.width, s.height))
            << "the window did not become " << s.width << " x " << s.height;
        Image got = renderState(s);
        // The same state drawn twice must give the same frame, or no
        // reference could hold.
        Image again = renderState(s);
        EXPECT_TRUE(got.rgb == again.rgb) << "two draws of one state differ";

        const std::string reference =
            std::string(TANK_GOLDEN_DIR) + "/" + s.name + ".png";
        std::string error;
        if (update) {
            ASSERT_TRUE(writePng(reference, got, error)) << reference << ": " << error;
            printf("wrote %s\n", reference.c_str());
            continue;
        }
        Image want;
        ASSERT_TRUE(readPng(reference, want, error))
            << reference << ": " << error << " (make golden writes the references)";
        ASSERT_EQ(want.width, got.width);
        ASSERT_EQ(want.height, got.height);

        Image diff;
        int differing = countDifferences(want, got, diff);
        if (differing > 0) {
            const std::string actualPath = outDir + "/" + s.name + ".actual.png";
            const std::string diffPath = outDir + "/" + s.name + ".diff.png";
            writePng(actualPath, got, error);
            writePng(diffPath, diff, error);
        }
        EXPECT_LE(differing, allowedDifferentPixels)
            << differing << " pixels differ from " << reference << "; actual frame "
            << outDir << "/" << s.name << ".actual.png, differences " << outDir << "/"
            << s.name << ".diff.png";
    }
    ASSERT_TRUE(resizeWindow(640, 480));
}

}  // namespace
