// What GL draws of a convex polygon and of GLU's cylinder, in each polygon
// mode, as the corners that make its primitives: triangles where filled,
// line segments where outlined, points where pointed. The page's GL draws
// them; the tools' and the tests read them.
#pragma once

enum class PolygonFill { fill, line, point };

// A corner in the shape's own frame.
struct Corner {
    double x, y, z;
};

// A convex polygon, drawn as its corners come. When corner n (from 0) is
// given, the corners that complete primitives with it are handed to take
// by their indices: from the third corner on, a triangle of the fan from
// corner 0 where filled, the edge from the corner before where outlined,
// the corner itself where pointed (at the third, what the first two
// began). When it ends after count corners, what closes it: the edge back
// to corner 0 where outlined. A polygon of fewer than three corners draws
// nothing, as in GL. Only corners 0, n - 1 and n are ever named, so a GL
// need keep no more than three.
void polygonCornerGiven(PolygonFill mode, int n, void (*take)(int index));
void polygonEnded(PolygonFill mode, int count, void (*take)(int index));

// gluCylinder's shape: open at both ends, along +Z from 0 to height, slice
// i at the angle 2 pi i / slices from +Y towards +X, stack j at j / stacks
// of the way up, with the radius going from base to top.
struct Cylinder {
    double baseRadius, topRadius, height;
    int slices, stacks;
};

Corner cylinderCorner(const Cylinder &c, int slice, int stack);

// Its corners as drawn, each handed to take in turn: each band's quads as
// two triangles, or the quads' edges once each (a ring at each stack, a
// line along each slice), or each corner once.
void cylinderCorners(const Cylinder &c, PolygonFill mode, void (*take)(const Corner &));
