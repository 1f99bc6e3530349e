#include "app/trace.h"

#include <cstdio>

// The texts are Portuguese and, like the help, single bytes of Latin-1.
void traceStep(const TankModel &m)
{
    if (appState.debug)
        printf("Velocidade %.2f Direccao %.2f\n", double(m.speed), double(m.heading));
}

void traceReshape(bool orthographic)
{
    if (appState.debug)
        printf("Reshape %s\n", orthographic ? "ORTHO" : "PERSPECTIVE");
}

void traceKey(unsigned char key, bool pressed)
{
    if (appState.debug)
        printf(pressed ? "Carregou na tecla %c\n" : "Largou a tecla %c\n", key);
}

void traceSpecialKey(int key, bool pressed)
{
    if (appState.debug)
        printf(pressed ? "Carregou na tecla especial %d\n"
                       : "Largou a tecla especial %d\n",
               key);
}

void traceSwitched(bool on)
{
    printf("DEBUG is %s\n", on ? "ON" : "OFF");
}
