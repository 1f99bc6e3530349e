#include "sim/tick.h"

#include <GL/glut.h>
#include <cmath>

#include "app/trace.h"
#include "platform/platform.h"

// Thresholds and steps in double; the whole-number steps are floats. Sums are
// formed in double (a float plus a double) and rounded once when stored.
static const double speedLimit = 0.5;
static const double speedStep = 0.04;
static const double drag = 0.01;
static const double wheelSnap = 0.05;
static const float wheelLimit = 15;
static const float wheelStep = 3;
static const float turretStep = 2;
static const float cannonLimit = 75;
static const float cannonStep = 2;
static const float turnFactor = 0.5f;
// Not M_PI: strict C++17 does not declare it everywhere (Windows).
static const double pi = 3.14159265358979323846;
static const double degToRad = pi / 180;
static const double quarterTurn = pi / 2;

static void stepSpeed(TankModel &m, const KeyState &k)
{
    if (k.keyUp && m.speed < speedLimit)
        m.speed = static_cast<float>(m.speed + speedStep);
    if (k.keyDown && m.speed > -speedLimit)
        m.speed = static_cast<float>(m.speed - speedStep);
    if (!k.keyUp && !k.keyDown && m.speed != 0) {
        if (m.speed > 0)
            m.speed = static_cast<float>(m.speed - drag);
        else
            m.speed = static_cast<float>(m.speed + drag);
        if (-drag < m.speed && m.speed < drag)
            m.speed = 0;
    }
}

static void stepWheels(TankModel &m, const KeyState &k)
{
    if (k.keyLeft && m.wheelAngle < wheelLimit)
        m.wheelAngle = static_cast<float>(double(m.wheelAngle) + wheelStep);
    if (k.keyRight && m.wheelAngle > -wheelLimit)
        m.wheelAngle = static_cast<float>(double(m.wheelAngle) - wheelStep);
    // The wheels re-centre only while the tank moves.
    if (!k.keyLeft && !k.keyRight && m.speed != 0 && m.wheelAngle != 0) {
        if (m.wheelAngle > 0)
            m.wheelAngle = static_cast<float>(double(m.wheelAngle) - wheelStep);
        else
            m.wheelAngle = static_cast<float>(double(m.wheelAngle) + wheelStep);
        if (-wheelSnap < m.wheelAngle && m.wheelAngle < wheelSnap)
            m.wheelAngle = 0;
    }
}

void stepModel(TankModel &m, const KeyState &k)
{
    stepSpeed(m, k);
    stepWheels(m, k);

    // Turning rate grows with both steering and speed; reversing turns the
    // other way.
    m.heading =
        static_cast<float>(double(m.wheelAngle) * m.speed * turnFactor + m.heading);

    double a = m.heading * degToRad + quarterTurn;  // heading 0 faces +Y
    m.x = static_cast<float>(std::cos(a) * m.speed + m.x);
    m.y = static_cast<float>(std::sin(a) * m.speed + m.y);

    if (k.keyZ)
        m.turretAngle = static_cast<float>(double(m.turretAngle) + turretStep);
    if (k.keyX)
        m.turretAngle = static_cast<float>(double(m.turretAngle) - turretStep);

    // Tested against 75 in steps of 2 from 0, so the cannon stops at 76.
    if (k.keyQ && m.cannonAngle < cannonLimit)
        m.cannonAngle = static_cast<float>(double(m.cannonAngle) + cannonStep);
    if (k.keyA && m.cannonAngle > 0)
        m.cannonAngle = static_cast<float>(double(m.cannonAngle) - cannonStep);
}

void tick(int value)
{
    (void)value;
    // Re-arm first so the step period does not stretch by the work below.
    glutTimerFunc(platformTickDelay(appState.tickMillis), tick, 0);
    platformStepBegins();
    stepModel(tankModel, appState.keys);
    // Speed and heading are final before the position moves, so printing
    // after the whole step shows the same stored values.
    traceStep(tankModel);
    glutPostRedisplay();
}
