// What the desktop and the browser do differently, behind one set of free
// functions. The build compiles one implementation of this header, each
// laid out alike by concern: desktop/draw.cpp (freeglut, GLU and GL as they
// are) with the process's side for its system, desktop/process_posix.cpp or
// desktop/process_windows.cpp; in the browser, web/draw.cpp (on emscripten's
// GL emulation) and web/process.cpp. The scene, the tick and the keys call
// in; nothing here calls up into them. The page's own side of the program
// (its keys, its canvas size) is web/program.cpp, above this seam.
#pragma once

#include <cstddef>

// How polygons are rasterised, as the F, L and P keys choose.
enum class PolygonMode { fill, line, point };

// Sets the current colour (glColor3f): the colour of polygons that set none
// and of cylinders.
void platformColour(float r, float g, float b);

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

// The drawing has reached a part of the tree of transforms, by its name in
// English: the current modelview matrix is that part's frame, and what is
// drawn next is the part's own, until the next part is reached. The page
// can show that frame; a desktop draws only the scene.
void platformPartReached(const char *name);

// Called as each tick begins, before its step: where the page's replay of a
// recorded drive brings in the keys that came before that step, and where,
// on Windows, a trace whose reader has gone ends the program (elsewhere,
// SIGPIPE does).
void platformStepBegins();

// Called once the window exists and its callbacks are registered, just before
// the first tick is armed: where the toolkit's loop would run a due timer
// before the window's first reshape, this brings the window's first work
// forward, so that the trace shows the reshape before any tick everywhere.
void platformWindowReady();

// The delay to hand the timer that runs the next tick, for ticks meant to be
// tickMillis apart.
unsigned platformTickDelay(int tickMillis);

// Shows the frame just drawn (GLUT's buffer swap).
void platformSwapBuffers();

// Writes bytes to standard output, exactly as they are: the key help and the
// trace, Latin-1. A desktop's goes to the console; the page's to its panel.
void platformWrite(const char *bytes, std::size_t length);

// Process-wide set-up before anything else runs: standard output as the
// trace needs it (its bytes exactly as written, a line at a time, the end of
// the program when its reader goes away) and the C library's settings.
void platformInit();

// Ends the program with status: nothing is drawn, traced or read after it.
[[noreturn]] void platformExit(int status);
