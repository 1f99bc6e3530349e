#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <random>

#include "app/help.h"
#include "app/scene.h"
#include "app/state.h"
#include "capture.h"
#include "gl_window.h"
#include "input/keyboard.h"
#include "sim/tick.h"

namespace {

class Keyboard : public testing::Test {
  protected:
    void SetUp() override
    {
        openTestWindow();
        initScene();
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
};

std::string press(unsigned char key)
{
    return captureStdout([key] { onKeyDown(key, 10, 20); });
}

std::string release(unsigned char key)
{
    return captureStdout([key] { onKeyUp(key, 10, 20); });
}

TEST_F(Keyboard, DTogglesTheTraceAndEchoesOnlyWhenItEndsOn)
{
    struct Case {
        unsigned char key;
        bool debugBefore;
        const char *pressOut;
        const char *releaseOut;
    };
    const Case cases[] = {
        {'d', true, "DEBUG is OFF\n", ""},
        {'D', true, "DEBUG is OFF\n", ""},
        {'d', false, "DEBUG is ON\nCarregou na tecla d\n", "Largou a tecla d\n"},
        {'D', false, "DEBUG is ON\nCarregou na tecla D\n", "Largou a tecla D\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " with trace " << c.debugBefore);
        appState.debug = c.debugBefore;
        EXPECT_EQ(press(c.key), c.pressOut);
        EXPECT_EQ(appState.debug, !c.debugBefore);
        EXPECT_EQ(release(c.key), c.releaseOut);
    }
}

TEST_F(Keyboard, BothCasesOfALetterShareOneHeldFlag)
{
    struct Case {
        unsigned char lower;
        bool KeyState::*flag;
    };
    const Case cases[] = {{'q', &KeyState::keyQ},
                          {'a', &KeyState::keyA},
                          {'z', &KeyState::keyZ},
                          {'x', &KeyState::keyX}};
    for (const Case &c : cases) {
        const unsigned char upper = static_cast<unsigned char>(c.lower - 'a' + 'A');
        const unsigned char pairs[][2] = {
            {c.lower, upper}, {upper, c.lower}, {c.lower, c.lower}, {upper, upper}};
        for (const auto &p : pairs) {
            SCOPED_TRACE(testing::Message() << "press " << p[0] << " release " << p[1]);
            EXPECT_EQ(press(p[0]), std::string("Carregou na tecla ") + char(p[0]) + "\n");
            EXPECT_TRUE(appState.keys.*c.flag);
            EXPECT_EQ(release(p[1]), std::string("Largou a tecla ") + char(p[1]) + "\n");
            EXPECT_FALSE(appState.keys.*c.flag);
        }
    }
}

TEST_F(Keyboard, ArrowKeysHoldTheirFlagsUntilReleased)
{
    struct Case {
        int key;
        bool KeyState::*flag;
        const char *pressOut, *releaseOut;
    };
    const Case cases[] = {
        {GLUT_KEY_LEFT, &KeyState::keyLeft, "Carregou na tecla especial 100\n",
         "Largou a tecla especial 100\n"},
        {GLUT_KEY_UP, &KeyState::keyUp, "Carregou na tecla especial 101\n",
         "Largou a tecla especial 101\n"},
        {GLUT_KEY_RIGHT, &KeyState::keyRight, "Carregou na tecla especial 102\n",
         "Largou a tecla especial 102\n"},
        {GLUT_KEY_DOWN, &KeyState::keyDown, "Carregou na tecla especial 103\n",
         "Largou a tecla especial 103\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(captureStdout([&] { onSpecialDown(c.key, 0, 0); }), c.pressOut);
        EXPECT_TRUE(appState.keys.*c.flag);
        EXPECT_EQ(captureStdout([&] { onSpecialUp(c.key, 0, 0); }), c.releaseOut);
        EXPECT_FALSE(appState.keys.*c.flag);
    }
    appState.debug = false;
    EXPECT_EQ(captureStdout([] { onSpecialDown(GLUT_KEY_UP, 0, 0); }), "");
    EXPECT_TRUE(appState.keys.keyUp);
}

TEST_F(Keyboard, OSwitchesTheProjectionAtOnceAndTracesBeforeItsEcho)
{
    double p[16];
    EXPECT_EQ(press('o'), "Reshape PERSPECTIVE\nCarregou na tecla o\n");
    EXPECT_FALSE(appState.orthographic);
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    EXPECT_EQ(p[11], -1);                         // perspective divide
    EXPECT_NEAR(p[5] / p[0], 640.0 / 480, 1e-5);  // fitted to the real window

    EXPECT_EQ(press('O'), "Reshape ORTHO\nCarregou na tecla O\n");
    EXPECT_TRUE(appState.orthographic);
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    EXPECT_EQ(p[11], 0);
    EXPECT_NEAR(2 / p[5], 40, 1e-4);
}

TEST_F(Keyboard, FLAndPSetThePolygonMode)
{
    const std::pair<unsigned char, GLint> cases[] = {
        {'l', GL_LINE}, {'p', GL_POINT}, {'F', GL_FILL},
        {'L', GL_LINE}, {'P', GL_POINT}, {'f', GL_FILL},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(press(c.first),
                  std::string("Carregou na tecla ") + char(c.first) + "\n");
        GLint mode[2] = {0, 0};
        glGetIntegerv(GL_POLYGON_MODE, mode);
        EXPECT_EQ(mode[0], c.second);
        EXPECT_EQ(mode[1], c.second);
    }
}

TEST_F(Keyboard, HPrintsTheHelpThenItsEcho)
{
    std::string help = captureStdout([] { printHelp(); });
    EXPECT_EQ(press('H'), help + "Carregou na tecla H\n");
    appState.debug = false;
    EXPECT_EQ(press('h'), help);  // the help is not part of the trace
}

TEST_F(Keyboard, IResetsTheModelWhileHeldKeysKeepActing)
{
    onSpecialDown(GLUT_KEY_UP, 0, 0);
    onSpecialDown(GLUT_KEY_LEFT, 0, 0);
    appState.debug = false;
    appState.orthographic = false;
    for (int i = 0; i < 20; ++i)
        stepModel(tankModel, appState.keys);
    tankModel.turretAngle = 40;
    tankModel.cannonAngle = 20;
    ASSERT_NE(tankModel.y, 0);

    press('i');
    const TankModel zero{};
    EXPECT_EQ(std::memcmp(&tankModel, &zero, sizeof zero), 0);
    EXPECT_TRUE(appState.keys.keyUp);
    EXPECT_TRUE(appState.keys.keyLeft);
    EXPECT_FALSE(appState.orthographic);  // reset leaves the view alone
    EXPECT_FALSE(appState.debug);

    stepModel(tankModel, appState.keys);
    EXPECT_FLOAT_EQ(tankModel.speed, 0.04f);
    EXPECT_EQ(tankModel.wheelAngle, 3);
}

TEST_F(Keyboard, UnmappedKeysChangeNothingButAreEchoed)
{
    tankModel = posedModel(1, 2, 0.3f, 4, 6, 8, 10);
    const TankModel model = tankModel;
    const AppState app = appState;
    const unsigned char keys[] = {'w', 'W', '7', ' ', 0xE7, 0xFF, 0x80, 1};
    for (unsigned char key : keys) {
        SCOPED_TRACE(int(key));
        const std::string byte(1, char(key));  // unsigned: one byte, as typed
        EXPECT_EQ(press(key), "Carregou na tecla " + byte + "\n");
        EXPECT_EQ(release(key), "Largou a tecla " + byte + "\n");
    }
    const int specials[] = {GLUT_KEY_F1,
                            GLUT_KEY_F12,
                            GLUT_KEY_PAGE_UP,
                            GLUT_KEY_HOME,
                            GLUT_KEY_INSERT,
                            0,
                            99,
                            104,
                            -1};
    for (int key : specials) {
        SCOPED_TRACE(key);
        EXPECT_EQ(captureStdout([&] { onSpecialDown(key, 0, 0); }),
                  "Carregou na tecla especial " + std::to_string(key) + "\n");
        EXPECT_EQ(captureStdout([&] { onSpecialUp(key, 0, 0); }),
                  "Largou a tecla especial " + std::to_string(key) + "\n");
    }
    EXPECT_EQ(std::memcmp(&tankModel, &model, sizeof model), 0);
    EXPECT_EQ(std::memcmp(&appState.keys, &app.keys, sizeof app.keys), 0);
    EXPECT_EQ(appState.debug, app.debug);
    EXPECT_EQ(appState.orthographic, app.orthographic);
}

// Any key, in any order, with ticks in between: nothing breaks and the model
// stays inside its ranges. ESC is left out: it ends the process by design.
TEST_F(Keyboard, RandomKeysKeepTheModelInRange)
{
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> action(0, 4), byte(0, 255), special(-50, 300);
    auto checkRanges = [](int step) {
        const TankModel &m = tankModel;
        SCOPED_TRACE(testing::Message() << "after event " << step);
        ASSERT_EQ(std::fmod(m.wheelAngle, 3.0f), 0) << m.wheelAngle;
        ASSERT_GE(m.wheelAngle, -15);
        ASSERT_LE(m.wheelAngle, 15);
        ASSERT_EQ(std::fmod(m.cannonAngle, 2.0f), 0) << m.cannonAngle;
        ASSERT_GE(m.cannonAngle, 0);
        ASSERT_LE(m.cannonAngle, 76);
        ASSERT_GT(m.speed, -0.54);
        ASSERT_LT(m.speed, 0.54);
        ASSERT_TRUE(std::isfinite(m.x) && std::isfinite(m.y) && std::isfinite(m.heading));
    };
    // Long holds matter as much as variety: weight the arrows and the
    // held letters so the limits are reached.
    const unsigned char heldLetters[] = {'q', 'Q', 'a', 'A', 'z', 'x'};
    const int arrows[] = {GLUT_KEY_LEFT, GLUT_KEY_UP, GLUT_KEY_RIGHT, GLUT_KEY_DOWN};
    int events = 0;
    float topSpeed = 0, topCannon = 0, topWheel = 0;
    std::string out = captureStdout([&] {
        for (; events < 20000 && !HasFatalFailure(); ++events) {
            int key = byte(random);
            switch (action(random)) {
            case 0:
                if (key != 27)
                    onKeyDown(static_cast<unsigned char>(key), 0, 0);
                break;
            case 1: onKeyUp(static_cast<unsigned char>(key), 0, 0); break;
            case 2:
                onSpecialDown(key % 2 ? special(random) : arrows[key % 4], 0, 0);
                break;
            case 3: onSpecialUp(key % 2 ? special(random) : arrows[key % 4], 0, 0); break;
            default:
                if (key % 3 == 0)
                    onKeyDown(heldLetters[key % 6], 0, 0);
                for (int t = key % 40; t >= 0; --t) {
                    stepModel(tankModel, appState.keys);
                    checkRanges(events);
                    topSpeed = std::max(topSpeed, std::abs(tankModel.speed));
                    topCannon = std::max(topCannon, tankModel.cannonAngle);
                    topWheel = std::max(topWheel, std::abs(tankModel.wheelAngle));
                }
            }
        }
    });
    EXPECT_EQ(events, 20000);
    // The walk reached the limits it checks.
    EXPECT_GT(topSpeed, 0.5f);
    EXPECT_EQ(topCannon, 76);
    EXPECT_EQ(topWheel, 15);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
