#include <GL/freeglut.h>
#include <chrono>
#include <gtest/gtest.h>

#include "app/scene.h"
#include "app/state.h"
#include "capture.h"
#include "gl_window.h"
#include "sim/tick.h"

namespace {

class Tick : public testing::Test {
  protected:
    void SetUp() override
    {
        openTestWindow();
        initScene();
    }
};

TEST_F(Tick, TracePrintsTheStoredSpeedAndHeading)
{
    struct Case {
        const char *what;
        TankModel start;
        KeyState keys;
        bool debug;
        const char *line;
    };
    KeyState upDown{}, upLeft{};
    upDown.keyUp = upDown.keyDown = true;
    upLeft.keyUp = upLeft.keyLeft = true;
    const Case cases[] = {
        {"at rest", TankModel{}, KeyState{}, true, "Velocidade 0.00 Direccao 0.00\n"},
        // A speed of about -9e-10 keeps its sign when rounded.
        {"up and down from rest", TankModel{}, upDown, true,
         "Velocidade -0.00 Direccao 0.00\n"},
        {"turning at top speed", posedModel(0, 0, 0.52f, 35.1f, 15, 0, 0), upLeft, true,
         "Velocidade 0.52 Direccao 39.00\n"},
        {"trace off", posedModel(0, 0, 0.52f, 0, 0, 0, 0), upLeft, false, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        tankModel = c.start;
        appState.keys = c.keys;
        appState.debug = c.debug;
        EXPECT_EQ(captureStdout([] { tick(0); }), c.line);
    }
    // The model stepped with the trace off too.
    EXPECT_FLOAT_EQ(tankModel.wheelAngle, 3);
}

TEST_F(Tick, TimerChainKeepsTickingEveryTwentyMilliseconds)
{
    glutDisplayFunc([] {});
    auto countTicks = [] {
        tick(0);
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        while (std::chrono::steady_clock::now() < end)
            glutMainLoopEvent();
    };
    std::string out = captureStdout(countTicks);
    size_t lines = 0;
    for (size_t at = out.find("Velocidade 0.00 Direccao 0.00\n"); at != std::string::npos;
         at = out.find("Velocidade", at + 1))
        ++lines;
    // 1 + 25 nominal; generous bounds for a loaded machine.
    EXPECT_GE(lines, 10u) << out;
    EXPECT_LE(lines, 30u) << out;
}

}  // namespace
