// The page's GL's only way to the canvas: vertices already moved into clip
// space, with their colours, drawn by WebGL through emscripten's own
// bindings in one draw call a batch. One shader, one buffer, made once.
#pragma once

struct ClipVertex {
    float x, y, z, w;
    float r, g, b;
};

enum class Primitive { triangles, lines, points };

void webglDraw(const ClipVertex *vertices, int count, Primitive primitive);
void webglClear(unsigned mask);
void webglClearColour(float r, float g, float b, float a);
void webglViewport(int x, int y, int width, int height);
// Turns a capability on or off where WebGL has it; false where it has not.
bool webglSwitch(unsigned capability, bool on);
