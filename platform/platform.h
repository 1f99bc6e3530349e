// What the desktop and the browser do differently, behind one set of free
// functions. The build compiles exactly one implementation of this header:
// platform_desktop.cpp (freeglut and GLU) or platform_web.cpp (emscripten).
// Data flows one way: the scene, the tick and the keys call in; nothing here
// calls back or keeps program state beyond what its platform needs.
#pragma once

// How polygons are rasterised, as the F, L and P keys choose.
enum class PolygonMode { fill, line, point };

// One convex polygon, made like a GL_POLYGON block: begin, at most one colour
// before the first vertex (else the current colour holds), the vertices in
// order, end.
void platformBeginPolygon();
void platformPolygonColour(const float *rgb);
void platformVertex(float x, float y, float z);
void platformVertexv(const float *xyz);
void platformEndPolygon();

// An open cylinder along +Z from z = 0 to height, in the current colour.
void platformCylinder(double baseRadius, double topRadius, double height, int slices,
                      int stacks);

// Multiplies the current matrix by the view from eye towards centre with up
// pointing up the screen.
void platformLookAt(const float *eye, const float *centre, const float *up);

// Multiplies the current matrix by a perspective projection; fovy in degrees.
void platformPerspective(double fovy, double aspect, double zNear, double zFar);

// Sets the rasterisation of every polygon and cylinder drawn from now on.
void platformPolygonMode(PolygonMode mode);

// The delay to hand the timer that runs the next tick, for ticks meant to be
// tickMillis apart.
unsigned platformTickDelay(int tickMillis);

// Ends the program with status: nothing is drawn, traced or read after it.
[[noreturn]] void platformExit(int status);
