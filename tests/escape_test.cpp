#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/state.h"
#include "input/keyboard.h"

namespace {

// ESC ends the process with status 1 at once, printing nothing, even with
// the trace on and keys held. Run in a child to see its exit and output.
TEST(Escape, ExitsWithStatusOneAndPrintsNothing)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    fflush(stdout);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        initState();
        appState.keys.keyUp = true;
        appState.keys.keyQ = true;
        onKeyDown(27, 0, 0);
        printf("returned\n");
        fflush(stdout);
        _exit(99);
    }
    close(fds[1]);
    std::string out;
    char buf[256];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0)
        out.append(buf, size_t(n));
    close(fds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(out, "");
}

}  // namespace
