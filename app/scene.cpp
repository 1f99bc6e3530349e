#include "app/scene.h"

// GLUT's header brings GL's, after what Windows' gl.h needs before it.
#include <GL/glut.h>

#include "app/state.h"

void initScene()
{
    initState();
    glClearColor(0, 0, 0, 0);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POLYGON_SMOOTH);
    glEnable(GL_DEPTH_TEST);
}
