// The process on POSIX desktops (Linux, the BSDs, macOS): standard output
// and the end of the program.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <fcntl.h>
#include <unistd.h>

#include "platform/platform.h"

// A descriptor 0, 1 or 2 that is not open (a program started as "tank >&-")
// would be taken by the next file opened, the X connection among them, and
// the trace written into it. Each is opened on the null device first.
static void openClosedStandardStreams()
{
    for (int fd = 0; fd <= 2; fd++) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            // The lowest free descriptor: this one.
            if (open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
                _exit(127);
        }
    }
}

void platformWrite(const char *bytes, std::size_t length)
{
    fwrite(bytes, 1, length, stdout);
}

void platformInit()
{
    openClosedStandardStreams();
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

// A desktop replays nothing, and a reader of the trace that has gone ends
// the program by SIGPIPE at the next write.
void platformStepBegins() {}

// GLUT's timer is accurate enough here: each tick simply waits one period.
unsigned platformTickDelay(int tickMillis)
{
    return static_cast<unsigned>(tickMillis);
}

void platformExit(int status)
{
    exit(status);
}
