#include "input/keys.h"

#include <GL/glut.h>

#include "app/help.h"
#include "app/trace.h"
#include "platform/platform.h"
#include "render/render.h"

static void endProgram()
{
    platformExit(1);  // at once: no message, no trace line
}

static void switchTrace()
{
    appState.debug = !appState.debug;
    traceSwitched(appState.debug);
}

// Takes effect at once: reshape recomputes the projection.
static void switchProjection()
{
    appState.orthographic = !appState.orthographic;
    reshape(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
}

static void fillPolygons()
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}
static void outlinePolygons()
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
}
static void pointPolygons()
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
}

// In the help's order. The console speaks Latin-1: "projecção" is spelled
// with the single bytes 0xE7 and 0xE3; the trailing blanks are part of the
// texts people compare. The D key is left out of the help.
const KeyBinding keyBindings[] = {
    {'h', false, nullptr, printHelp, "h,H - Ajuda \n", "H", "help"},
    {'z', false, &KeyState::keyZ, nullptr, "z,Z - Roda torre para a esquerda\n", "Z",
     "turretLeft"},
    {'x', false, &KeyState::keyX, nullptr, "x,X - Roda torre para a direita\n", "X",
     "turretRight"},
    {'q', false, &KeyState::keyQ, nullptr, "q,Q - Levantar canhao\n", "Q", "cannonUp"},
    {'a', false, &KeyState::keyA, nullptr, "a,A - Baixar canhao\n", "A", "cannonDown"},
    {'i', false, nullptr, resetModel, "i,I - Reinicia modelo\n", "I", "reset"},
    {'o', false, nullptr, switchProjection,
     "o,O - Alterna entre projec\xE7\xE3o Ortografica e Perspectiva\n", "O",
     "projection"},
    {'f', false, nullptr, fillPolygons, "f,F - Poligono Fill \n", "F", "fill"},
    {'l', false, nullptr, outlinePolygons, "l,L - Poligono Line \n", "L", "lines"},
    {'p', false, nullptr, pointPolygons, "p,P - Poligono Point \n", "P", "points"},
    {GLUT_KEY_UP, true, &KeyState::keyUp, nullptr, "up  - Acelera \n", "\xE2\x86\x91",
     "accelerate"},
    {GLUT_KEY_DOWN, true, &KeyState::keyDown, nullptr, "down- Trava \n", "\xE2\x86\x93",
     "brakeReverse"},
    {GLUT_KEY_LEFT, true, &KeyState::keyLeft, nullptr,
     "left- Vira rodas para a direita\n", "\xE2\x86\x90", "steerLeft"},
    {GLUT_KEY_RIGHT, true, &KeyState::keyRight, nullptr,
     "righ- Vira rodas para a esquerda\n", "\xE2\x86\x92", "steerRight"},
    {'d', false, nullptr, switchTrace, nullptr, "D", "trace"},
    {27, false, nullptr, endProgram, "ESC - Sair\n", "ESC", "end"},
};
const int keyBindingCount = sizeof keyBindings / sizeof keyBindings[0];

// Both cases of a letter share one meaning, so a release of either case
// clears what a press of the other set. Only ASCII letters fold.
const KeyBinding *keyBinding(int code, bool special)
{
    if (!special && code >= 'A' && code <= 'Z')
        code = code - 'A' + 'a';
    for (const KeyBinding &k : keyBindings)
        if (k.code == code && k.special == special)
            return &k;
    return nullptr;
}
