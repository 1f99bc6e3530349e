// The tank's shape as the page changes it: each number of the shape
// (render/tank_shape.h) by its name in the code, the part it belongs to
// and the range its control offers, in the order the shape's initializer
// gives them (render/tank_shape.cpp), so that the page can write the
// initializer again with its numbers. The names are one text and the
// rest a small record a number: the page downloads this table.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <emscripten.h>

#include "render/tank_shape.h"

namespace {

// Each number's name in the code and the tree's id of the part it shapes,
// a line each. The wheels' mounts are x across, y along and z up from the
// tank frame; the boxes' sizes are along X, Y and Z of their own frames.
constexpr char names[] = "rearAxleY tankFrame\n"
                         "rideHeight tankFrame\n"
                         "wheels[0].x frontRightWheel\n"
                         "wheels[0].y frontRightWheel\n"
                         "wheels[0].z frontRightWheel\n"
                         "wheels[1].x rearRightWheel\n"
                         "wheels[1].y rearRightWheel\n"
                         "wheels[1].z rearRightWheel\n"
                         "wheels[2].x frontLeftWheel\n"
                         "wheels[2].y frontLeftWheel\n"
                         "wheels[2].z frontLeftWheel\n"
                         "wheels[3].x rearLeftWheel\n"
                         "wheels[3].y rearLeftWheel\n"
                         "wheels[3].z rearLeftWheel\n"
                         "wheelTurn wheels\n"
                         "wheelRadius wheels\n"
                         "wheelWidth wheels\n"
                         "wheelSlices wheels\n"
                         "wheelStacks wheels\n"
                         "pitchPerSpeed bodyFrame\n"
                         "rollPerTurn bodyFrame\n"
                         "hull.width hull\n"
                         "hull.length hull\n"
                         "hull.height hull\n"
                         "turretLift turretFrame\n"
                         "turret.width turret\n"
                         "turret.length turret\n"
                         "turret.height turret\n"
                         "cannonPivotY cannonFrame\n"
                         "cannonReachY cannonFrame\n"
                         "cannon.width cannon\n"
                         "cannon.length cannon\n"
                         "cannon.height cannon\n"
                         "groundHalf world\n"
                         "groundGrey world\n";

// Where each number is, what it is, and its control's range in hundredths.
enum class Kind : char { single, twice, whole };
struct ShapeField {
    void *value;
    Kind kind;
    short low, high;
};

constexpr ShapeField single(float &value, short low, short high)
{
    return ShapeField{&value, Kind::single, low, high};
}
constexpr ShapeField twice(double &value, short low, short high)
{
    return ShapeField{&value, Kind::twice, low, high};
}
constexpr ShapeField whole(int &value, short low, short high)
{
    return ShapeField{&value, Kind::whole, low, high};
}

constexpr TankShape &t = tankShape;
constexpr ShapeField fields[] = {
    single(t.rearAxleY, -500, 500),     single(t.rideHeight, 0, 300),
    single(t.wheels[0].x, -500, 500),   single(t.wheels[0].y, -600, 600),
    single(t.wheels[0].z, -200, 200),   single(t.wheels[1].x, -500, 500),
    single(t.wheels[1].y, -600, 600),   single(t.wheels[1].z, -200, 200),
    single(t.wheels[2].x, -500, 500),   single(t.wheels[2].y, -600, 600),
    single(t.wheels[2].z, -200, 200),   single(t.wheels[3].x, -500, 500),
    single(t.wheels[3].y, -600, 600),   single(t.wheels[3].z, -200, 200),
    single(t.wheelTurn, -18000, 18000), twice(t.wheelRadius, 10, 200),
    twice(t.wheelWidth, 5, 200),        whole(t.wheelSlices, 300, 6000),
    whole(t.wheelStacks, 100, 1200),    twice(t.pitchPerSpeed, -2000, 2000),
    twice(t.rollPerTurn, -1000, 1000),  single(t.hull.width, 10, 1200),
    single(t.hull.length, 10, 1200),    single(t.hull.height, 10, 1200),
    single(t.turretLift, -200, 400),    single(t.turret.width, 10, 600),
    single(t.turret.length, 10, 600),   single(t.turret.height, 10, 600),
    single(t.cannonPivotY, -400, 400),  single(t.cannonReachY, -600, 600),
    single(t.cannon.width, 10, 1000),   single(t.cannon.length, 10, 1000),
    single(t.cannon.height, 10, 1000),  single(t.groundHalf, 100, 10000),
    single(t.groundGrey, 0, 100),
};
const int fieldCount = sizeof fields / sizeof fields[0];

constexpr int linesIn(const char *text)
{
    int lines = 0;
    for (; *text; ++text)
        lines += *text == '\n';
    return lines;
}
static_assert(linesIn(names) == fieldCount, "a name for every number of the shape");

double valueOf(const ShapeField &f)
{
    switch (f.kind) {
    case Kind::single: return double(*static_cast<float *>(f.value));
    case Kind::twice: return *static_cast<double *>(f.value);
    case Kind::whole: break;
    }
    return double(*static_cast<int *>(f.value));
}

}  // namespace

extern "C" {

// The shape's numbers, one a line: "name part type low high value", type f
// (float), d (double) or i (int), each value as the shape holds it exactly.
EMSCRIPTEN_KEEPALIVE const char *webShapeText()
{
    static char text[4096];
    size_t used = 0;
    const char *line = names;
    for (const ShapeField &f : fields) {
        const char *end = strchr(line, '\n');
        const int n =
            snprintf(text + used, sizeof text - used, "%.*s %c %g %g %.17g\n",
                     static_cast<int>(end - line), line, "fdi"[static_cast<int>(f.kind)],
                     f.low / 100.0, f.high / 100.0, valueOf(f));
        if (n < 0 || static_cast<size_t>(n) >= sizeof text - used)
            break;
        used += static_cast<size_t>(n);
        line = end + 1;
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
    if (!std::isfinite(value) || value < f.low / 100.0 || value > f.high / 100.0 ||
        (f.kind == Kind::whole && value != std::floor(value)))
        return 0;
    switch (f.kind) {
    case Kind::single: *static_cast<float *>(f.value) = static_cast<float>(value); break;
    case Kind::twice: *static_cast<double *>(f.value) = value; break;
    case Kind::whole: *static_cast<int *>(f.value) = static_cast<int>(value); break;
    }
    return 1;
}
}
