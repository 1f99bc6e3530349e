#include "gl/common/shapes.h"

#include <cmath>
#include <initializer_list>

void polygonCornerGiven(PolygonFill mode, int n, void (*take)(int index))
{
    if (n < 2)
        return;
    switch (mode) {
    case PolygonFill::fill:
        take(0);
        take(n - 1);
        take(n);
        break;
    case PolygonFill::line:
        for (int i = n == 2 ? 1 : n; i <= n; ++i) {
            take(i - 1);
            take(i);
        }
        break;
    case PolygonFill::point:
        for (int i = n == 2 ? 0 : n; i <= n; ++i)
            take(i);
        break;
    }
}

void polygonEnded(PolygonFill mode, int count, void (*take)(int index))
{
    if (mode == PolygonFill::line && count >= 3) {
        take(count - 1);
        take(0);
    }
}

// A slice's direction from the axis, worked out once for all the corners
// that share it.
struct SliceDirection {
    double sine, cosine;
};

static SliceDirection sliceDirection(const Cylinder &c, int slice)
{
    const double pi = 3.14159265358979323846;
    const double angle = 2 * pi * (slice % c.slices) / c.slices;
    return SliceDirection{std::sin(angle), std::cos(angle)};
}

static Corner cornerOn(const Cylinder &c, const SliceDirection &d, int stack)
{
    const double along = double(stack) / c.stacks;
    const double radius = c.baseRadius + (c.topRadius - c.baseRadius) * along;
    return Corner{radius * d.sine, radius * d.cosine, c.height * along};
}

Corner cylinderCorner(const Cylinder &c, int slice, int stack)
{
    return cornerOn(c, sliceDirection(c, slice), stack);
}

void cylinderCorners(const Cylinder &c, PolygonFill mode, void (*take)(const Corner &))
{
    if (c.slices < 1 || c.stacks < 1)
        return;
    for (int j = 0; j <= c.stacks; ++j) {
        SliceDirection here = sliceDirection(c, 0);
        for (int i = 0; i < c.slices; ++i) {
            const SliceDirection next = sliceDirection(c, i + 1);
            const Corner a = cornerOn(c, here, j);
            switch (mode) {
            case PolygonFill::fill:
                // GLU's quad strip: each quad shares its first edge with
                // the last one's.
                if (j < c.stacks) {
                    const Corner b = cornerOn(c, here, j + 1), d = cornerOn(c, next, j);
                    for (const Corner &p : {a, b, d, d, b, cornerOn(c, next, j + 1)})
                        take(p);
                }
                break;
            case PolygonFill::line:
                take(a);
                take(cornerOn(c, next, j));
                if (j < c.stacks) {
                    take(a);
                    take(cornerOn(c, here, j + 1));
                }
                break;
            case PolygonFill::point: take(a); break;
            }
            here = next;
        }
    }
}
