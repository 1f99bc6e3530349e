// The floor's side of the page's interface (web/bridge.js), in place of the
// program's: the page may call it the same way, and it announces its frames
// the same way, but it has no model and reshapes only its viewport.
#include <GL/glut.h>
#include <emscripten.h>

#include "platform/platform.h"

void floorKey(unsigned char key, int mouseX, int mouseY);
void floorRedraw();

EM_JS(void, announceFrame, (), {
    if (Module['onFrame'])
        Module['onFrame']();
});

// Standard output as the program's reaches the page.
EM_JS(void, writeToPage, (const char *bytes, size_t length), {
    if (Module['onOutput'])
        Module['onOutput'](HEAPU8.subarray(bytes, bytes + length));
});

void platformWrite(const char *bytes, std::size_t length)
{
    writeToPage(bytes, length);
}

// GLUT's swap, as the page's GL tells the page of each frame.
void glutSwapBuffers()
{
    announceFrame();
}

extern "C" {

EMSCRIPTEN_KEEPALIVE void webDeliverKey(int special, int pressed, int code)
{
    if (!special && pressed)
        floorKey(static_cast<unsigned char>(code), 0, 0);
}

EMSCRIPTEN_KEEPALIVE void webResize(int width, int height)
{
    glViewport(0, 0, width, height);
    floorRedraw();
}

EMSCRIPTEN_KEEPALIVE void webReshape(int width, int height)
{
    glViewport(0, 0, width, height);
}

EMSCRIPTEN_KEEPALIVE void webRedraw()
{
    floorRedraw();
}

EMSCRIPTEN_KEEPALIVE void *webModel()
{
    return nullptr;
}
}
