#include "gl_window.h"

#include <GL/freeglut.h>
#include <cstdlib>
#include <gtest/gtest.h>

#include "app/scene.h"

static void drawNothing() {}

void openTestWindow()
{
    static bool open = false;
    if (open)
        return;
    if (!getenv("DISPLAY"))
        FAIL() << "no DISPLAY: run the GL tests through tests/with-xvfb.sh "
                  "(ctest does)";
    int argc = 1;
    char name[] = "gl_tests";
    char *argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(640, 480);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    ASSERT_NE(glutCreateWindow("Exemplo"), 0);
    glutDisplayFunc(drawNothing);
    initScene();
    open = true;
}

Pixel readPixel(int x, int y)
{
    unsigned char rgb[3] = {0, 0, 0};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return Pixel{rgb[0], rgb[1], rgb[2]};
}
