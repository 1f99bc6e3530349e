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

Corner cylinderCorner(const Cylinder &c, int slice, int stack)
{
    const double pi = 3.14159265358979323846;
    const double along = double(stack) / c.stacks;
    const double radius = c.baseRadius + (c.topRadius - c.baseRadius) * along;
    const double angle = 2 * pi * (slice % c.slices) / c.slices;
    return Corner{radius * std::sin(angle), radius * std::cos(angle), c.height * along};
}

void cylinderCorners(const Cylinder &c, PolygonFill mode, void (*take)(const Corner &))
{
    if (c.slices < 1 || c.stacks < 1)
        return;
    for (int j = 0; j <= c.stacks; ++j)
        for (int i = 0; i < c.slices; ++i) {
            const Corner a = cylinderCorner(c, i, j);
            switch (mode) {
            case PolygonFill::fill:
                // GLU's quad strip: each quad shares its first edge with
                // the last one's.
                if (j < c.stacks) {
                    const Corner b = cylinderCorner(c, i, j + 1),
                                 d = cylinderCorner(c, i + 1, j);
                    for (const Corner &p :
                         {a, b, d, d, b, cylinderCorner(c, i + 1, j + 1)})
                        take(p);
                }
                break;
            case PolygonFill::line:
                take(a);
                take(cylinderCorner(c, i + 1, j));
                if (j < c.stacks) {
                    take(a);
                    take(cylinderCorner(c, i, j + 1));
                }
                break;
            case PolygonFill::point: take(a); break;
            }
        }
}
