#include <gtest/gtest.h>

#include "sim/tick.h"

namespace {

const KeyState none{};

KeyState held(bool KeyState::*a, bool KeyState::*b = nullptr)
{
    KeyState k{};
    k.*a = true;
    if (b)
        k.*b = true;
    return k;
}

void steps(TankModel &m, const KeyState &k, int n)
{
    for (int i = 0; i < n; ++i)
        stepModel(m, k);
}

TEST(Speed, UpHeldFromRestClimbsToPointFiftyTwoAndStays)
{
    TankModel m{};
    KeyState up = held(&KeyState::keyUp);
    for (int i = 1; i <= 13; ++i) {
        stepModel(m, up);
        EXPECT_NEAR(m.speed, 0.04 * i, 1e-6) << "tick " << i;
    }
    EXPECT_EQ(m.speed, 0.52f);  // not 0.5: the test is "below 0.5" before stepping
    steps(m, up, 50);
    EXPECT_EQ(m.speed, 0.52f);
}

TEST(Speed, DragStopsExactlyAtZeroInFiftyTwoTicks)
{
    for (float start : {0.52f, -0.52f}) {
        SCOPED_TRACE(start);
        TankModel m{};
        m.speed = start;
        steps(m, none, 51);
        EXPECT_NE(m.speed, 0);
        EXPECT_LT(std::abs(m.speed), 0.02);
        stepModel(m, none);
        EXPECT_EQ(m.speed, 0);
        steps(m, none, 5);
        EXPECT_EQ(m.speed, 0);
    }
}

TEST(Speed, UpAndDownHeldTogether)
{
    KeyState both = held(&KeyState::keyUp, &KeyState::keyDown);
    struct Case {
        float start, firstTick, settled;
    };
    const Case cases[] = {
        {0.52f, 0.48f, 0.48f},     // no raise at the top, one lowering
        {-0.52f, -0.52f, -0.52f},  // up to -0.48, then down again
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.start);
        TankModel m{};
        m.speed = c.start;
        stepModel(m, both);
        EXPECT_FLOAT_EQ(m.speed, c.firstTick);
        steps(m, both, 20);
        EXPECT_FLOAT_EQ(m.speed, c.settled);
    }
    {
        // From rest: the float 0.04 minus the double 0.04, about -9e-10,
        // and no drag while both keys are held.
        TankModel m{};
        stepModel(m, both);
        EXPECT_LT(m.speed, 0);
        EXPECT_GT(m.speed, -1e-9);
        float first = m.speed;
        steps(m, both, 20);
        EXPECT_EQ(m.speed, first);
    }
}

TEST(Speed, TopSpeedDependsOnWhereUpIsHeldAgain)
{
    TankModel m{};
    KeyState up = held(&KeyState::keyUp);
    steps(m, up, 13);
    steps(m, none, 3);
    EXPECT_NEAR(m.speed, 0.49, 1e-6);
    steps(m, up, 10);
    EXPECT_NEAR(m.speed, 0.53, 1e-6);
    EXPECT_LT(m.speed, 0.54);
}

TEST(Steering, WheelsTurnInStepsOfThreeUpToFifteen)
{
    TankModel m{};
    KeyState left = held(&KeyState::keyLeft);
    const float expected[] = {3, 6, 9, 12, 15, 15, 15};
    for (float e : expected) {
        stepModel(m, left);
        EXPECT_EQ(m.wheelAngle, e);
    }
    m = TankModel{};
    steps(m, held(&KeyState::keyRight), 10);
    EXPECT_EQ(m.wheelAngle, -15);
}

TEST(Steering, LeftAndRightHeldTogether)
{
    KeyState both = held(&KeyState::keyLeft, &KeyState::keyRight);
    const float cases[][2] = {{15, 12}, {-15, -15}, {6, 6}, {0, 0}};
    for (const auto &c : cases) {
        TankModel m{};
        m.wheelAngle = c[0];
        steps(m, both, 4);
        EXPECT_EQ(m.wheelAngle, c[1]) << "from " << c[0];
    }
}

TEST(Steering, WheelsReCentreOnlyWhileMoving)
{
    {
        // Moving: back to straight in five ticks, then stays there.
        TankModel m{};
        m.wheelAngle = 15;
        m.speed = 0.52f;
        const float expected[] = {12, 9, 6, 3, 0, 0};
        for (float e : expected) {
            stepModel(m, none);
            EXPECT_EQ(m.wheelAngle, e);
        }
    }
    {
        // Standing still: the wheels keep their angle.
        TankModel m{};
        m.wheelAngle = -15;
        steps(m, none, 10);
        EXPECT_EQ(m.wheelAngle, -15);
    }
    {
        // The tick in which the drag snaps the speed to zero sees the new
        // zero speed, so the wheels do not turn back then or later.
        TankModel m{};
        m.wheelAngle = 15;
        m.speed = 0.015f;
        stepModel(m, none);
        EXPECT_EQ(m.speed, 0);
        EXPECT_EQ(m.wheelAngle, 15);
        steps(m, none, 5);
        EXPECT_EQ(m.wheelAngle, 15);
    }
}

TEST(Heading, TurnsWithWheelAngleTimesSpeed)
{
    {
        // Top speed, full lock: 3.9 degrees a tick.
        TankModel m{};
        m.speed = 0.52f;
        m.wheelAngle = 15;
        KeyState k = held(&KeyState::keyUp, &KeyState::keyLeft);
        stepModel(m, k);
        EXPECT_NEAR(m.heading, 3.9, 1e-5);
        steps(m, k, 9);
        EXPECT_NEAR(m.heading, 39, 1e-4);
    }
    {
        // Reversing turns the other way.
        TankModel m{};
        m.speed = -0.52f;
        m.wheelAngle = 15;
        stepModel(m, held(&KeyState::keyDown, &KeyState::keyLeft));
        EXPECT_NEAR(m.heading, -3.9, 1e-5);
    }
    {
        // At rest nothing turns or moves, but the wheels still steer.
        TankModel m{};
        m.wheelAngle = 15;
        m.heading = 30;
        steps(m, held(&KeyState::keyRight), 3);
        EXPECT_EQ(m.wheelAngle, 6);
        EXPECT_EQ(m.heading, 30);
        EXPECT_EQ(m.x, 0);
        EXPECT_EQ(m.y, 0);
    }
}

TEST(Position, MovesAlongTheHeading)
{
    struct Case {
        float heading, speed, dx, dy;
    };
    // One tick without keys: the drag acts first, so 0.5 moves 0.49.
    const Case cases[] = {
        {0, 0.5f, 0, 0.49f},                            // forwards is +Y
        {90, 0.5f, -0.49f, 0},                          // counter-clockwise: facing -X
        {-90, 0.5f, 0.49f, 0},  {0, -0.5f, 0, -0.49f},  // reversing
        {180, 0.5f, 0, -0.49f},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "heading " << c.heading << " speed " << c.speed);
        TankModel m{};
        m.x = 10;
        m.y = -10;
        m.heading = c.heading;
        m.speed = c.speed;
        stepModel(m, none);
        EXPECT_NEAR(m.x - 10, c.dx, 1e-5);
        EXPECT_NEAR(m.y + 10, c.dy, 1e-5);
    }
}

TEST(Turret, TurnsTwoDegreesATickWithoutWrapping)
{
    TankModel m{};
    steps(m, held(&KeyState::keyZ), 200);
    EXPECT_EQ(m.turretAngle, 400);
    steps(m, held(&KeyState::keyZ, &KeyState::keyX), 10);
    EXPECT_EQ(m.turretAngle, 400);
    steps(m, held(&KeyState::keyX), 400);
    EXPECT_EQ(m.turretAngle, -400);
}

TEST(Cannon, RisesToSeventySixAndFallsToZero)
{
    TankModel m{};
    KeyState q = held(&KeyState::keyQ);
    steps(m, q, 37);
    EXPECT_EQ(m.cannonAngle, 74);
    stepModel(m, q);
    EXPECT_EQ(m.cannonAngle, 76);  // 74 is below 75, so one more step
    steps(m, q, 10);
    EXPECT_EQ(m.cannonAngle, 76);

    KeyState a = held(&KeyState::keyA);
    steps(m, a, 37);
    EXPECT_EQ(m.cannonAngle, 2);
    stepModel(m, a);
    EXPECT_EQ(m.cannonAngle, 0);
    steps(m, a, 5);
    EXPECT_EQ(m.cannonAngle, 0);

    KeyState both = held(&KeyState::keyQ, &KeyState::keyA);
    steps(m, both, 5);
    EXPECT_EQ(m.cannonAngle, 0);
    m.cannonAngle = 76;
    steps(m, both, 5);
    EXPECT_EQ(m.cannonAngle, 74);
}

}  // namespace
