// The browser's process: the timer's deadlines, the page told as each step
// begins, and a real end of the runtime.
#include <cmath>
#include <emscripten.h>

#include "platform/platform.h"

// A chain of browser timers, each asked for 20 ms, runs late by a few
// milliseconds every time. Each tick is aimed at an absolute deadline, one
// period after the last; after a long stall (a hidden tab) the count starts
// afresh from now rather than racing through the missed ticks.
static double nextDeadline = 0;

unsigned platformTickDelay(int tickMillis)
{
    const double now = emscripten_get_now();
    const double farBehind = 5.0 * tickMillis;
    if (nextDeadline == 0 || now - nextDeadline > farBehind)
        nextDeadline = now;
    nextDeadline += tickMillis;
    const double wait = nextDeadline - now;
    return wait > 0 ? static_cast<unsigned>(std::lround(wait)) : 0;
}

// The page takes the bytes themselves (a view it copies at once), Latin-1
// as the program wrote them, not a string decoded by the runtime.
EM_JS(void, writeToPage, (const char *bytes, size_t length), {
    if (Module['onOutput'])
        Module['onOutput'](HEAPU8.subarray(bytes, bytes + length));
});

void platformWrite(const char *bytes, std::size_t length)
{
    writeToPage(bytes, length);
}

EM_JS(void, announceEnding, (), {
    if (Module['onEnding'])
        Module['onEnding']();
});

// The page's replay of a drive (web/bridge.js) is told as each step begins.
EM_JS(void, announceStep, (), {
    if (Module['onStep'])
        Module['onStep']();
});

void platformStepBegins()
{
    announceStep();
}

void platformInit() {}

// The page reshapes the canvas once the program runs (web/bridge.js).
void platformWindowReady() {}

// A real end of the runtime: GLUT's timer, frames and key handlers stop with
// it, where a plain exit() would only unwind the current callback. The page
// is told first, while the last frame is still on the canvas.
void platformExit(int status)
{
    announceEnding();
    emscripten_force_exit(status);
}
