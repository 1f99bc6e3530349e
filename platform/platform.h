// What the process does differently on the desktop and in the browser,
// behind one set of free functions: standard output, the end of the
// program, the tick's timing and the window's readiness. The build compiles
// one implementation of this header: desktop/process_posix.cpp,
// desktop/process_windows.cpp or web/process.cpp. The drawing is not here:
// the program calls GL, GLU and GLUT as they are, and each place it runs
// supplies them (gl/). Nothing here calls up into the program. The page's
// own side of the program (its keys, its canvas size) is web/program.cpp.
#pragma once

#include <cstddef>

// Called as each tick begins, before its step: where the page's replay of a
// recorded drive brings in the keys that came before that step, and where,
// on Windows, a trace whose reader has gone ends the program (elsewhere,
// SIGPIPE does).
void platformStepBegins();

// Called once the window exists and its callbacks are registered, just before
// the first tick is armed: where the toolkit's loop would run a due timer
// before the window's first reshape, this brings the window's first work
// forward, so that the trace shows the reshape before any tick everywhere.
void platformWindowReady();

// The delay to hand the timer that runs the next tick, for ticks meant to be
// tickMillis apart.
unsigned platformTickDelay(int tickMillis);

// Writes bytes to standard output, exactly as they are: the key help and the
// trace, Latin-1. A desktop's goes to the console; the page's to its panel.
void platformWrite(const char *bytes, std::size_t length);

// Process-wide set-up before anything else runs: standard output as the
// trace needs it (its bytes exactly as written, a line at a time, the end of
// the program when its reader goes away) and the C library's settings.
void platformInit();

// Ends the program with status: nothing is drawn, traced or read after it.
[[noreturn]] void platformExit(int status);
