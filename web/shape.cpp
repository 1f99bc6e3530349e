// The tank's shape as the page changes it: each number of the shape
// (render/tank_shape.h) by its name in the code, the part it belongs to
// and the range its control offers, in the order the shape's initializer
// gives them (render/tank_shape.cpp), so that the page can write the
// initializer again with its numbers.
#include <cmath>
#include <cstdio>
#include <emscripten.h>

#include "render/tank_shape.h"

namespace {

// A number of the shape: exactly one of the three pointers is set.
struct ShapeField {
    const char *name;  // as the code names it: "turretLift", "hull.width"
    const char *part;  // the tree's id of the part it shapes
    float *single = nullptr;
    double *twice = nullptr;
    int *whole = nullptr;
    double low, high;

    constexpr ShapeField(const char *n, const char *p, float *v, double l, double h)
        : name(n), part(p), single(v), low(l), high(h)
    {
    }
    constexpr ShapeField(const char *n, const char *p, double *v, double l, double h)
        : name(n), part(p), twice(v), low(l), high(h)
    {
    }
    constexpr ShapeField(const char *n, const char *p, int *v, double l, double h)
        : name(n), part(p), whole(v), low(l), high(h)
    {
    }
};

constexpr TankShape &t = tankShape;

// The wheels' mounts are x across, y along and z up from the tank frame;
// the boxes' sizes are along X, Y and Z of their own frames.
constexpr ShapeField fields[] = {
    {"rearAxleY", "tankFrame", &t.rearAxleY, -5, 5},
    {"rideHeight", "tankFrame", &t.rideHeight, 0, 3},
    {"wheels[0].x", "frontRightWheel", &t.wheels[0].x, -5, 5},
    {"wheels[0].y", "frontRightWheel", &t.wheels[0].y, -6, 6},
    {"wheels[0].z", "frontRightWheel", &t.wheels[0].z, -2, 2},
    {"wheels[1].x", "rearRightWheel", &t.wheels[1].x, -5, 5},
    {"wheels[1].y", "rearRightWheel", &t.wheels[1].y, -6, 6},
    {"wheels[1].z", "rearRightWheel", &t.wheels[1].z, -2, 2},
    {"wheels[2].x", "frontLeftWheel", &t.wheels[2].x, -5, 5},
    {"wheels[2].y", "frontLeftWheel", &t.wheels[2].y, -6, 6},
    {"wheels[2].z", "frontLeftWheel", &t.wheels[2].z, -2, 2},
    {"wheels[3].x", "rearLeftWheel", &t.wheels[3].x, -5, 5},
    {"wheels[3].y", "rearLeftWheel", &t.wheels[3].y, -6, 6},
    {"wheels[3].z", "rearLeftWheel", &t.wheels[3].z, -2, 2},
    {"wheelTurn", "wheels", &t.wheelTurn, -180, 180},
    {"wheelRadius", "wheels", &t.wheelRadius, 0.1, 2},
    {"wheelWidth", "wheels", &t.wheelWidth, 0.05, 2},
    {"wheelSlices", "wheels", &t.wheelSlices, 3, 60},
    {"wheelStacks", "wheels", &t.wheelStacks, 1, 12},
    {"pitchPerSpeed", "bodyFrame", &t.pitchPerSpeed, -20, 20},
    {"rollPerTurn", "bodyFrame", &t.rollPerTurn, -10, 10},
    {"hull.width", "hull", &t.hull.width, 0.1, 12},
    {"hull.length", "hull", &t.hull.length, 0.1, 12},
    {"hull.height", "hull", &t.hull.height, 0.1, 12},
    {"turretLift", "turretFrame", &t.turretLift, -2, 4},
    {"turret.width", "turret", &t.turret.width, 0.1, 6},
    {"turret.length", "turret", &t.turret.length, 0.1, 6},
    {"turret.height", "turret", &t.turret.height, 0.1, 6},
    {"cannonPivotY", "cannonFrame", &t.cannonPivotY, -4, 4},
    {"cannonReachY", "cannonFrame", &t.cannonReachY, -6, 6},
    {"cannon.width", "cannon", &t.cannon.width, 0.1, 10},
    {"cannon.length", "cannon", &t.cannon.length, 0.1, 10},
    {"cannon.height", "cannon", &t.cannon.height, 0.1, 10},
    {"groundHalf", "world", &t.groundHalf, 1, 100},
    {"groundGrey", "world", &t.groundGrey, 0, 1},
};
const int fieldCount = sizeof fields / sizeof fields[0];

double valueOf(const ShapeField &f)
{
    return f.single ? double(*f.single) : f.twice ? *f.twice : double(*f.whole);
}

}  // namespace

extern "C" {

// The shape's numbers, one a line: "name part type low high value", type
// float, double or int, each value as the shape holds it exactly.
EMSCRIPTEN_KEEPALIVE const char *webShapeText()
{
    static char text[4096];
    size_t used = 0;
    for (int i = 0; i < fieldCount && used < sizeof text; ++i) {
        const ShapeField &f = fields[i];
        const int n = snprintf(text + used, sizeof text - used,
                               "%s %s %s %.17g %.17g %.17g\n", f.name, f.part,
                               f.single  ? "float"
                               : f.twice ? "double"
                                         : "int",
                               f.low, f.high, valueOf(f));
        if (n < 0)
            break;
        used += static_cast<size_t>(n);
    }
    return text;
}

// Sets the shape's number at index (webShapeText's order), for the next
// picture. A value that is not a number, or outside the field's range, or
// not whole for a whole field, is refused: returns 0 and the shape is
// unchanged.
EMSCRIPTEN_KEEPALIVE int webSetShape(int index, double value)
{
    if (index < 0 || index >= fieldCount)
        return 0;
    const ShapeField &f = fields[index];
    if (!std::isfinite(value) || value < f.low || value > f.high ||
        (f.whole && value != std::floor(value)))
        return 0;
    if (f.single)
        *f.single = static_cast<float>(value);
    else if (f.twice)
        *f.twice = value;
    else
        *f.whole = static_cast<int>(value);
    return 1;
}
}
