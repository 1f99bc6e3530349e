// The process on Windows: standard output and the end of the program, so
// that the trace is the same bytes as on every other system and a console
// shows its two Latin-1 letters.
#include <windows.h>

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>

#include "platform/platform.h"

// The console's output code page at start, given back at exit: the console
// is the user's and outlives the program.
static UINT consoleCodePage = 0;

static void restoreConsoleCodePage()
{
    SetConsoleOutputCP(consoleCodePage);
}

void platformWrite(const char *bytes, std::size_t length)
{
    fwrite(bytes, 1, length, stdout);
}

void platformInit()
{
    // The C runtime starts standard output in text mode, which writes every
    // "\n" as "\r\n": binary mode keeps the trace's bytes as written.
    _setmode(_fileno(stdout), _O_BINARY);
    // Windows' C runtimes take _IOLBF as full buffering, so nothing would be
    // seen until a buffer filled. Unbuffered, each printf is written at once
    // and the trace can be followed live ("tank.exe | tee log").
    setvbuf(stdout, nullptr, _IONBF, BUFSIZ);
    // A console shows bytes in its output code page, often 850 or 437, where
    // 0xE7 and 0xE3 are other letters. The texts are Latin-1: say so, for as
    // long as the program runs. Pipes and files get the bytes unchanged.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode;
    if (out != INVALID_HANDLE_VALUE && GetConsoleMode(out, &mode)) {
        consoleCodePage = GetConsoleOutputCP();
        if (consoleCodePage != 0 && SetConsoleOutputCP(28591))
            atexit(restoreConsoleCodePage);
    }
}

// Each pass of freeglut's loop runs the due timers before the windows' work,
// the first reshape among it, and on Windows the first pass can come later
// than the first tick is due (loading DLLs, a slow first show). One pass now,
// before that tick is armed, does the window's first work first.
void platformWindowReady()
{
    glutMainLoopEvent();
}

// Windows has no SIGPIPE: once the reader of the trace has gone ("tank.exe |
// more", then q), every write fails and the program would run on unseen.
// Each step, as it begins, checks: a trace that can no longer be written
// ends the program, with the status a POSIX shell reports for a death by
// SIGPIPE (128 + 13).
void platformStepBegins()
{
    if (ferror(stdout))
        platformExit(128 + 13);
}

unsigned platformTickDelay(int tickMillis)
{
    return static_cast<unsigned>(tickMillis);
}

void platformExit(int status)
{
    exit(status);
}
