#include "input/keyboard.h"

#include <GL/glut.h>
#include <cstdio>

#include "app/help.h"
#include "app/state.h"
#include "platform/platform.h"
#include "render/render.h"

static const unsigned char escapeKey = 27;

// Both cases of a letter share one meaning, so a release of either case
// clears what a press of the other set. Only ASCII letters fold.
static unsigned char foldCase(unsigned char key)
{
    return (key >= 'a' && key <= 'z') ? static_cast<unsigned char>(key - 'a' + 'A') : key;
}

// The held-key flag of a letter key, or null when the letter is not held.
static bool KeyState::*letterFlag(unsigned char key)
{
    switch (foldCase(key)) {
    case 'A': return &KeyState::keyA;
    case 'Q': return &KeyState::keyQ;
    case 'X': return &KeyState::keyX;
    case 'Z': return &KeyState::keyZ;
    default: return nullptr;
    }
}

static bool KeyState::*arrowFlag(int key)
{
    switch (key) {
    case GLUT_KEY_LEFT: return &KeyState::keyLeft;
    case GLUT_KEY_UP: return &KeyState::keyUp;
    case GLUT_KEY_RIGHT: return &KeyState::keyRight;
    case GLUT_KEY_DOWN: return &KeyState::keyDown;
    default: return nullptr;
    }
}

void onKeyDown(unsigned char key, int mouseX, int mouseY)
{
    (void)mouseX;
    (void)mouseY;
    if (key == escapeKey)
        platformExit(1);

    if (bool KeyState::*flag = letterFlag(key))
        appState.keys.*flag = true;

    switch (foldCase(key)) {
    case 'D':
        appState.debug = !appState.debug;
        printf("DEBUG is %s\n", appState.debug ? "ON" : "OFF");
        break;
    case 'F': platformPolygonMode(PolygonMode::fill); break;
    case 'H': printHelp(); break;
    case 'I': resetModel(); break;
    case 'L': platformPolygonMode(PolygonMode::line); break;
    case 'O':
        // Takes effect at once: reshape recomputes the projection.
        appState.orthographic = !appState.orthographic;
        reshape(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
        break;
    case 'P': platformPolygonMode(PolygonMode::point); break;
    default: break;
    }

    if (appState.debug)
        printf("Carregou na tecla %c\n", key);
}

void onKeyUp(unsigned char key, int mouseX, int mouseY)
{
    (void)mouseX;
    (void)mouseY;
    if (bool KeyState::*flag = letterFlag(key))
        appState.keys.*flag = false;
    if (appState.debug)
        printf("Largou a tecla %c\n", key);
}

void onSpecialDown(int key, int mouseX, int mouseY)
{
    (void)mouseX;
    (void)mouseY;
    if (bool KeyState::*flag = arrowFlag(key))
        appState.keys.*flag = true;
    if (appState.debug)
        printf("Carregou na tecla especial %d\n", key);
}

void onSpecialUp(int key, int mouseX, int mouseY)
{
    (void)mouseX;
    (void)mouseY;
    if (bool KeyState::*flag = arrowFlag(key))
        appState.keys.*flag = false;
    if (appState.debug)
        printf("Largou a tecla especial %d\n", key);
}
