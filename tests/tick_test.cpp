#include <GL/freeglut.h>
#include <algorithm>
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

// Over half a second the chain ticks once at once and then every 20 ms: as
// often as that allows (freeglut counts whole milliseconds, so a step may
// come after 19), and at least as often as the loop's longest stall allows,
// a tick due while the process was not running coming when it runs again.
// A count below that is the timer's fault, not the machine's.
TEST_F(Tick, TimerChainKeepsTickingEveryTwentyMilliseconds)
{
    using Clock = std::chrono::steady_clock;
    glutDisplayFunc([] {});
    double elapsed = 0, longestStall = 0;
    auto countTicks = [&] {
        const Clock::time_point start = Clock::now();
        tick(0);
        Clock::time_point last = start, now = start;
        while ((now = Clock::now()) < start + std::chrono::milliseconds(500)) {
            longestStall =
                std::max(longestStall,
                         std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
            glutMainLoopEvent();
        }
        elapsed = std::chrono::duration<double, std::milli>(now - start).count();
    };
    std::string out = captureStdout(countTicks);
    size_t lines = 0;
    for (size_t at = out.find("Velocidade 0.00 Direccao 0.00\n"); at != std::string::npos;
         at = out.find("Velocidade", at + 1))
        ++lines;
    const double most = 1 + elapsed / 19;
    const double least = elapsed / (21 + longestStall);
    EXPECT_LE(lines, most) << "more ticks than 20 ms steps in " << elapsed << " ms";
    EXPECT_GE(lines, least) << "fewer ticks than 20 ms steps in " << elapsed
                            << " ms can explain, the loop's longest stall being "
                            << longestStall << " ms";
}

}  // namespace
