#include "app/trace.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "platform/platform.h"

// A line of the trace, formatted as printf does, to standard output. The
// longest (two floats of 39 digits) is under 120 bytes.
static void print(const char *format, ...)
{
    char line[256];
    va_list values;
    va_start(values, format);
    const int length = vsnprintf(line, sizeof line, format, values);
    va_end(values);
    if (length > 0)
        platformWrite(line, std::min(static_cast<std::size_t>(length), sizeof line - 1));
}

// The texts are Portuguese and, like the help, single bytes of Latin-1.
void traceStep(const TankModel &m)
{
    if (appState.debug)
        print("Velocidade %.2f Direccao %.2f\n", double(m.speed), double(m.heading));
}

void traceReshape(bool orthographic)
{
    if (appState.debug)
        print("Reshape %s\n", orthographic ? "ORTHO" : "PERSPECTIVE");
}

void traceKey(unsigned char key, bool pressed)
{
    if (appState.debug)
        print(pressed ? "Carregou na tecla %c\n" : "Largou a tecla %c\n", key);
}

void traceSpecialKey(int key, bool pressed)
{
    if (appState.debug)
        print(pressed ? "Carregou na tecla especial %d\n"
                      : "Largou a tecla especial %d\n",
              key);
}

void traceSwitched(bool on)
{
    print("DEBUG is %s\n", on ? "ON" : "OFF");
}
