// The program's side of the page: what freeglut does on the desktop and
// emscripten's GLUT does not do here, and what the page reads of the model.
// The page (web/bridge.js) reaches the program only through these exported
// functions and the documented Module callbacks.
#include <GL/gl.h>
#include <cstdio>
#include <emscripten.h>

#include "app/state.h"
#include "input/keyboard.h"
#include "render/diagram.h"
#include "render/render.h"
#include "web/part-frame.h"

// What freeglut does on the desktop and emscripten's GLUT does not do here,
// for the page to call: deliver a key as the toolkit would, and tell the
// program its canvas has a new size. Called from the browser's event
// handlers, one at a time, like any GLUT callback.
extern "C" {

// A key press or release: special keys by their GLUT code, others by the
// byte they type.
EMSCRIPTEN_KEEPALIVE void webDeliverKey(int special, int pressed, int code)
{
    if (special) {
        if (pressed)
            onSpecialDown(code, 0, 0);
        else
            onSpecialUp(code, 0, 0);
    } else {
        const auto key = static_cast<unsigned char>(code);
        if (pressed)
            onKeyDown(key, 0, 0);
        else
            onKeyUp(key, 0, 0);
    }
}

// The canvas's drawing buffer has just been set to width x height pixels:
// reshape as a window of that size, and draw at once, since setting the
// size cleared the canvas.
EMSCRIPTEN_KEEPALIVE void webResize(int width, int height)
{
    reshape(width, height);
    display();
}

// The program told of its window's size again, the canvas unchanged and
// not cleared: the next frame is drawn when the step that follows asks.
EMSCRIPTEN_KEEPALIVE void webReshape(int width, int height)
{
    reshape(width, height);
}

// Draws a frame now, from the model as it stands.
EMSCRIPTEN_KEEPALIVE void webRedraw()
{
    display();
}

// Room for the id of the part whose frame to show, as the tree names it,
// which the page writes before it calls webShowPart.
static char partId[64];
EMSCRIPTEN_KEEPALIVE char *webPartId()
{
    return partId;
}

// Shows the frame of the part whose id is in webPartId's room, and marks
// what it and the parts under it draw, from this frame on; an empty id
// shows none.
EMSCRIPTEN_KEEPALIVE void webShowPart()
{
    partId[sizeof partId - 1] = '\0';
    showPartFrame(partId);
    display();
}

// Where the model record lives in the module's memory, for the page to read
// (and tests to pose) its seven floats.
EMSCRIPTEN_KEEPALIVE TankModel *webModel()
{
    return &tankModel;
}

// The values the tree shows (render.h's drawnValues), as the drawing uses
// them and written as the trace writes numbers: "x 0.00 y 0.00 ...", each
// name and its value with two decimals.
EMSCRIPTEN_KEEPALIVE const char *webModelText()
{
    static char text[1024];
    size_t used = 0;
    text[0] = '\0';
    for (int i = 0; i < drawnValueCount && used < sizeof text; ++i) {
        const int n =
            snprintf(text + used, sizeof text - used, "%s%s %.2f", i ? " " : "",
                     drawnValues[i].name, double(drawnValue(drawnValues[i], tankModel)));
        if (n < 0)
            break;
        used += static_cast<size_t>(n);
    }
    return text;
}

// The tree of transforms as JSON, written down from the drawing on this
// GL as the model and shape stand now, each model value by its name
// (render/diagram.h); kept until asked again.
EMSCRIPTEN_KEEPALIVE const char *webTreeJson()
{
    return tankTreeJson();
}

// How the picture is drawn: the projection and the polygon mode, as
// "orthographic fill" or "perspective line".
EMSCRIPTEN_KEEPALIVE const char *webViewText()
{
    GLint mode[2];
    glGetIntegerv(GL_POLYGON_MODE, mode);
    static char text[32];
    snprintf(text, sizeof text, "%s %s",
             appState.orthographic ? "orthographic" : "perspective",
             mode[0] == GL_LINE    ? "line"
             : mode[0] == GL_POINT ? "point"
                                   : "fill");
    return text;
}
}
