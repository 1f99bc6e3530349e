// The one call the drawing makes besides OpenGL's, GLU's and GLUT's: it
// names the part of the tank whose frame the modelview matrix now holds.
// What is drawn next is that part's own, until the next part is named.
//
// Each GL the program runs on reads it its own way: the system's ignores it
// (gl/system), the page's tells the page of it, which shows the chosen
// part's frame (gl/webgl, web/part-frame.cpp), and writes the tree of
// transforms down when the page asks for it, as the tools' GL always does
// (gl/common/tree.h, gl/tools).
#pragma once

void namePart(const char *name);
