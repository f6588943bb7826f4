#pragma once

// A child process that does some work and then waits to be killed, for tests of what a kill
// leaves behind.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace velk_test {

/// Forks a child that runs work and then waits to be killed. Answers the child once work is
/// done, or -1 when the child could not be made or work answered false (the child is gone then).
inline pid_t ForkUntilKilled(const std::function<bool()>& work) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const bool done = work();
        static_cast<void>(::write(ready[1], done ? "k" : "f", 1));
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    char answer = 0;
    const bool done = child > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'k';
    ::close(ready[0]);
    if (child > 0 && !done) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    return done ? child : -1;
}

/// Kills the child and waits for its end.
inline void Kill(pid_t child) {
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

}  // namespace velk_test
