// Entry point: the window, one-time set-up, the callbacks and the event loop.
#include <GL/glut.h>
#include <cstdlib>

#include "app/help.h"
#include "app/scene.h"
#include "app/state.h"
#include "input/keyboard.h"
#include "platform/platform.h"
#include "render/render.h"
#include "sim/tick.h"

int main(int argc, char **argv)
{
    // Standard output as the trace needs it, before anything is written.
    platformInit();

    glutInit(&argc, argv);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(640, 480);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    if (glutCreateWindow("Exemplo") == 0)
        exit(1);

    initScene();
    printHelp();

    glutReshapeFunc(reshape);
    glutDisplayFunc(display);
    glutKeyboardFunc(onKeyDown);
    glutKeyboardUpFunc(onKeyUp);
    glutSpecialFunc(onSpecialDown);
    glutSpecialUpFunc(onSpecialUp);
    platformWindowReady();

    glutTimerFunc(platformTickDelay(appState.tickMillis), tick, 0);

    glutMainLoop();
    return 0;
}
