// The desktop's drawing: freeglut, GLU and OpenGL 1.1 as they are, on every
// desktop system. Each function makes exactly the calls the scene would make
// itself. What the process does differently on each system is in
// process_posix.cpp and process_windows.cpp.
// GLUT's header first: it brings what Windows' gl.h and glu.h need first.
#include <GL/glu.h>
#include <GL/glut.h>

#include "platform/platform.h"

// Created on first use and kept for the life of the process, so drawing a
// frame allocates nothing.
static GLUquadric *quadric = nullptr;

void platformColour(float r, float g, float b)
{
    glColor3f(r, g, b);
}

void platformBeginPolygon()
{
    glBegin(GL_POLYGON);
}
void platformPolygonColour(const float *rgb)
{
    glColor3fv(rgb);
}
void platformVertex(float x, float y, float z)
{
    glVertex3f(x, y, z);
}
void platformVertexv(const float *xyz)
{
    glVertex3fv(xyz);
}
void platformEndPolygon()
{
    glEnd();
}

void platformCylinder(double baseRadius, double topRadius, double height, int slices,
                      int stacks)
{
    if (!quadric)
        quadric = gluNewQuadric();
    if (quadric)
        gluCylinder(quadric, baseRadius, topRadius, height, slices, stacks);
}

void platformLookAt(const float *eye, const float *centre, const float *up)
{
    gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], up[0], up[1],
              up[2]);
}

void platformPerspective(double fovy, double aspect, double zNear, double zFar)
{
    gluPerspective(fovy, aspect, zNear, zFar);
}

void platformPolygonMode(PolygonMode mode)
{
    const GLenum glMode[] = {GL_FILL, GL_LINE, GL_POINT};
    glPolygonMode(GL_FRONT_AND_BACK, glMode[static_cast<int>(mode)]);
}

void platformSwapBuffers()
{
    glutSwapBuffers();
}

// A desktop draws the scene alone, as described.
void platformPartReached(const char *name)
{
    (void)name;
}
