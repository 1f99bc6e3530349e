#include "gl/common/shapes.h"

#include <cmath>

void polygonIndices(PolygonFill mode, int corners, std::vector<int> &out)
{
    switch (mode) {
    case PolygonFill::fill:
        for (int i = 1; i + 1 < corners; ++i)
            out.insert(out.end(), {0, i, i + 1});
        break;
    case PolygonFill::line: polygonEdges(corners, out); break;
    case PolygonFill::point:
        for (int i = 0; i < corners; ++i)
            out.push_back(i);
        break;
    }
}

void polygonEdges(int corners, std::vector<int> &out)
{
    for (int i = 0; i < corners; ++i)
        out.insert(out.end(), {i, (i + 1) % corners});
}

Corner cylinderCorner(const Cylinder &c, int slice, int stack)
{
    const double pi = 3.14159265358979323846;
    const double along = double(stack) / c.stacks;
    const double radius = c.baseRadius + (c.topRadius - c.baseRadius) * along;
    const double angle = 2 * pi * (slice % c.slices) / c.slices;
    return Corner{radius * std::sin(angle), radius * std::cos(angle), c.height * along};
}

void cylinderCorners(const Cylinder &c, PolygonFill mode, std::vector<Corner> &out)
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
                                 d = cylinderCorner(c, i + 1, j),
                                 e = cylinderCorner(c, i + 1, j + 1);
                    out.insert(out.end(), {a, b, d, d, b, e});
                }
                break;
            case PolygonFill::line:
                out.insert(out.end(), {a, cylinderCorner(c, i + 1, j)});
                if (j < c.stacks)
                    out.insert(out.end(), {a, cylinderCorner(c, i, j + 1)});
                break;
            case PolygonFill::point: out.push_back(a); break;
            }
        }
}
