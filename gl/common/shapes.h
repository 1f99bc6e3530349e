// What GL draws of a convex polygon and of GLU's cylinder, in each polygon
// mode, as the corners that make its primitives: triangles where filled,
// line segments where outlined, points where pointed. The page's GL draws
// them; the tools' and the tests read them.
#pragma once

#include <vector>

enum class PolygonFill { fill, line, point };

// A corner in the shape's own frame.
struct Corner {
    double x, y, z;
};

// A polygon of n corners given in order: the indices of its corners as
// drawn, a fan of triangles from the first corner where filled, each edge
// round it where outlined, each corner where pointed.
void polygonIndices(PolygonFill mode, int corners, std::vector<int> &out);

// The edges round it, as pairs of indices.
void polygonEdges(int corners, std::vector<int> &out);

// gluCylinder's shape: open at both ends, along +Z from 0 to height, slice
// i at the angle 2 pi i / slices from +Y towards +X, stack j at j / stacks
// of the way up, with the radius going from base to top.
struct Cylinder {
    double baseRadius, topRadius, height;
    int slices, stacks;
};

Corner cylinderCorner(const Cylinder &c, int slice, int stack);

// Its corners as drawn: each band's quads as two triangles, or the quads'
// edges once each (a ring at each stack, a line along each slice), or each
// corner once.
void cylinderCorners(const Cylinder &c, PolygonFill mode, std::vector<Corner> &out);
