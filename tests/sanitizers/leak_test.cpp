// The sanitizer build only: the GL driver's own leaks are suppressed, and a
// leak of ours, in a process that has drawn with that driver, still fails.
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

#include "gl_window.h"
#include "render/render.h"

namespace {

// Where the leaked block is last seen, so the compiler keeps the allocation.
void *volatile lastSeen = nullptr;

TEST(LeakCheck, OurLeakFailsWhileTheDriversAreSuppressed)
{
    // Each child starts afresh (fork and exec), with its own GL window.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // A clean process that drew with the driver ends well...
    EXPECT_EXIT(
        {
            openTestWindow();
            drawScene();
            exit(0);
        },
        testing::ExitedWithCode(0), "");
    // ...and the same with one block of ours lost fails with the leak
    // check's status.
    EXPECT_EXIT(
        {
            openTestWindow();
            drawScene();
            lastSeen = malloc(4096);
            memset(lastSeen, 1, 4096);
            lastSeen = nullptr;
            exit(0);
        },
        testing::ExitedWithCode(23), "Direct leak of 4096 byte");
}

}  // namespace
