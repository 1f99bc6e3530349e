// A real GLUT window and GL context for tests, created once per process.
#pragma once

// Opens the 640 x 480 window the program uses and runs initScene. Needs a
// display; the test runner gives every test process its own Xvfb.
void openTestWindow();

// Reads one pixel of the back buffer as 8-bit RGB.
struct Pixel {
    int r, g, b;
};
Pixel readPixel(int x, int y);
