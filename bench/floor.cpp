// The floor for the benchmark: the least a GLUT program can do at the same
// 50 Hz, a 640 x 480 double-buffered window cleared and swapped every 20 ms.
// It clears to the ground's grey so its first frame can be timed the same way.
#include <GL/glut.h>

static void display()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
}

static void tick(int value)
{
    glutTimerFunc(20, tick, value);
    glutPostRedisplay();
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
    glutTimerFunc(20, tick, 0);
    glutMainLoop();
    return 0;
}
