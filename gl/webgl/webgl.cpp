#include "gl/webgl/webgl.h"

#include <webgl/webgl1.h>

// Each vertex arrives in clip space with its colour; a point is one pixel,
// as GL's default point size.
static const char *vertexShader = "attribute vec4 position;\n"
                                  "attribute vec3 colour;\n"
                                  "varying vec3 shade;\n"
                                  "void main() {\n"
                                  "  gl_Position = position;\n"
                                  "  gl_PointSize = 1.0;\n"
                                  "  shade = colour;\n"
                                  "}\n";
static const char *fragmentShader = "precision mediump float;\n"
                                    "varying vec3 shade;\n"
                                    "void main() {\n"
                                    "  gl_FragColor = vec4(shade, 1.0);\n"
                                    "}\n";

static GLuint compiled(GLenum kind, const char *source)
{
    const GLuint shader = emscripten_glCreateShader(kind);
    emscripten_glShaderSource(shader, 1, &source, nullptr);
    emscripten_glCompileShader(shader);
    return shader;
}

// The program and the buffer, bound once and left bound: nothing else
// draws on this context.
static void makeReady()
{
    static bool ready = false;
    if (ready)
        return;
    ready = true;
    const GLuint program = emscripten_glCreateProgram();
    emscripten_glAttachShader(program, compiled(GL_VERTEX_SHADER, vertexShader));
    emscripten_glAttachShader(program, compiled(GL_FRAGMENT_SHADER, fragmentShader));
    emscripten_glBindAttribLocation(program, 0, "position");
    emscripten_glBindAttribLocation(program, 1, "colour");
    emscripten_glLinkProgram(program);
    emscripten_glUseProgram(program);
    GLuint buffer = 0;
    emscripten_glGenBuffers(1, &buffer);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
    const GLsizei stride = sizeof(ClipVertex);
    emscripten_glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, stride, nullptr);
    emscripten_glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<const void *>(4 * sizeof(float)));
    emscripten_glEnableVertexAttribArray(0);
    emscripten_glEnableVertexAttribArray(1);
}

void webglDraw(const ClipVertex *vertices, int count, Primitive primitive)
{
    if (count <= 0)
        return;
    makeReady();
    const GLenum mode[] = {GL_TRIANGLES, GL_LINES, GL_POINTS};
    emscripten_glBufferData(GL_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(sizeof(ClipVertex)) * count, vertices,
                            GL_STREAM_DRAW);
    emscripten_glDrawArrays(mode[static_cast<int>(primitive)], 0, count);
}

void webglClear(unsigned mask)
{
    emscripten_glClear(mask);
}

void webglClearColour(float r, float g, float b, float a)
{
    emscripten_glClearColor(r, g, b, a);
}

void webglViewport(int x, int y, int width, int height)
{
    emscripten_glViewport(x, y, width, height);
}

bool webglSwitch(unsigned capability, bool on)
{
    switch (capability) {
    case GL_BLEND:
    case GL_CULL_FACE:
    case GL_DEPTH_TEST:
    case GL_DITHER:
    case GL_POLYGON_OFFSET_FILL:
    case GL_SAMPLE_ALPHA_TO_COVERAGE:
    case GL_SAMPLE_COVERAGE:
    case GL_SCISSOR_TEST:
    case GL_STENCIL_TEST:
        if (on)
            emscripten_glEnable(capability);
        else
            emscripten_glDisable(capability);
        return true;
    default: return false;
    }
}
