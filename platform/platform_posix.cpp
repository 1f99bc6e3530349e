// The process on POSIX desktops (Linux, the BSDs, macOS): standard output
// and the end of the program.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "platform/platform.h"

void platformInit()
{
    // Line-buffered even into a pipe, so the trace can be followed live
    // ("./tank | tee log") and is not lost when the process is killed.
    setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    // Like any filter, end when the reader of the trace goes away
    // ("./tank | head"), even if started with SIGPIPE ignored; otherwise
    // every later line would fail to write, unseen.
    signal(SIGPIPE, SIG_DFL);
#if defined(__GLIBC__)
    // Keep large blocks in their own mappings. By default glibc raises this
    // threshold each time such a block is freed, after which the GL driver's
    // half-megabyte buffers, allocated and freed as the modes change, land
    // in the heap and fragment it: resident memory then creeps up by
    // megabytes over a long session while the live heap stays flat.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

// freeglut on X11 shows the window and reshapes it in its loop's first pass,
// long before the first tick is due.
void platformWindowReady() {}

// GLUT's timer is accurate enough here: each tick simply waits one period.
unsigned platformTickDelay(int tickMillis)
{
    return static_cast<unsigned>(tickMillis);
}

void platformExit(int status)
{
    exit(status);
}
