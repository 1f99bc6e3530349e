// The tools' GL: the tree of transforms, read from the drawing itself. In
// the tools that write the tree (tank_diagram for make docs and the page's
// build), this file is OpenGL, GLU and GLUT for the calls the program makes:
// every call is written down (gl/common/tree.h) rather than done. Nothing is
// drawn, and no GL is linked.
#include <GL/glut.h>
#include <cstdlib>

#include "gl/common/tree.h"
#include "gl/part.h"
#include "platform/platform.h"

static bool changingProjection = false;

// GL's matrix calls, written down: the modelview's, which make the tree.
void GLAPIENTRY glPushMatrix()
{
    if (!changingProjection)
        treePushed();
}

void GLAPIENTRY glPopMatrix()
{
    if (!changingProjection)
        treePopped();
}

void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    treeTranslated(x, y, z);
}

void GLAPIENTRY glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    treeScaled(x, y, z);
}

void GLAPIENTRY glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    treeRotated(angle, x, y, z);
}

// A new frame of the modelview starts a new tree.
void GLAPIENTRY glLoadIdentity()
{
    if (!changingProjection)
        treeStarted();
}

void GLAPIENTRY glMatrixMode(GLenum mode)
{
    changingProjection = mode == GL_PROJECTION;
}

// What the scene does besides the tank's matrices has no step in the tree.
void GLAPIENTRY glViewport(GLint, GLint, GLsizei, GLsizei) {}
void GLAPIENTRY glOrtho(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble) {}
void GLAPIENTRY gluPerspective(GLdouble, GLdouble, GLdouble, GLdouble) {}
void GLAPIENTRY gluLookAt(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble,
                          GLdouble, GLdouble, GLdouble)
{
}
void GLAPIENTRY glClear(GLbitfield) {}
void GLAPIENTRY glFlush() {}
void GLAPIENTRY glColor3f(GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glColor3fv(const GLfloat *) {}
void GLAPIENTRY glVertex3f(GLfloat, GLfloat, GLfloat) {}
void GLAPIENTRY glVertex3fv(const GLfloat *) {}
void GLAPIENTRY glEnd() {}
void GLAPIENTRY glPolygonMode(GLenum, GLenum) {}
void FGAPIENTRY glutSwapBuffers() {}

void namePart(const char *name)
{
    treePartNamed(name);
}

void GLAPIENTRY glBegin(GLenum)
{
    treePolygonBegun();
}

// The quadric holds GLU's defaults, which the tools have no use for.
struct GLUquadric {
    int unused;
};

GLUquadric *GLAPIENTRY gluNewQuadric()
{
    static GLUquadric quadric;
    return &quadric;
}

void GLAPIENTRY gluCylinder(GLUquadric *, GLdouble baseRadius, GLdouble topRadius,
                            GLdouble height, GLint slices, GLint stacks)
{
    treeCylinder(baseRadius, topRadius, height, slices, stacks);
}

// The tools write the tree, not the program's trace, and never run its
// keys' actions: they read the table of keys (input/keys.cpp).
void platformWrite(const char *, std::size_t) {}
void platformExit(int status)
{
    std::exit(status);
}
int FGAPIENTRY glutGet(GLenum)
{
    return 0;
}
