// The system's GL, GLU and freeglut draw the scene as it is: a part's name
// means nothing to them.
#include "gl/part.h"

void namePart(const char *name)
{
    (void)name;
}
