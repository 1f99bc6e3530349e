// The floor for the benchmarks: the least a GLUT program with a console
// trace can do at the same 50 Hz, a 640 x 480 double-buffered window cleared
// and swapped every 20 ms and one line of the trace's shape and length
// printed at each step. D switches the printing off and on, as it does the
// program's trace. It clears to the ground's grey so its first frame can be
// timed the same way.
#include <GL/glut.h>
#include <cstdio>

#include "platform/platform.h"

static bool printing = true;

static void display()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

static void tick(int value)
{
    glutTimerFunc(20, tick, value);
    if (printing) {
        char line[64];
        const int length =
            snprintf(line, sizeof line, "Velocidade %.2f Direccao %.2f\n", 0.0, 0.0);
        platformWrite(line, static_cast<std::size_t>(length));
    }
    glutPostRedisplay();
}

void floorKey(unsigned char key, int mouseX, int mouseY)
{
    (void)mouseX;
    (void)mouseY;
    if (key == 'd' || key == 'D')
        printing = !printing;
}

void floorRedraw()
{
    display();
}

int main(int argc, char **argv)
{
    glutInit(&argc, argv);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(640, 480);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutCreateWindow("Floor");
    glClearColor(0.5f, 0.5f, 0.5f, 0);
    glEnable(GL_DEPTH_TEST);
    glutDisplayFunc(display);
    glutKeyboardFunc(floorKey);
    glutTimerFunc(20, tick, 0);
    glutMainLoop();
    return 0;
}
