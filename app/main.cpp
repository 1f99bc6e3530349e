// Entry point: the window, one-time set-up, the callbacks and the event loop.
#include <GL/glut.h>
#include <csignal>
#include <cstdio>
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
    // Line-buffered even into a pipe, so the trace can be followed live
    // ("./tank | tee log") and is not lost when the process is killed.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    // Like any filter, end when the reader of the trace goes away
    // ("./tank | head"), even if started with SIGPIPE ignored; otherwise
    // every later line would fail to write, unseen.
    signal(SIGPIPE, SIG_DFL);
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

    glutTimerFunc(platformTickDelay(appState.tickMillis), tick, 0);

    glutMainLoop();
    return 0;
}
