#pragma once

// A child process that a test kills at a moment of its choosing. On POSIX it is forked and runs
// the job at once. Windows has no fork: the test program starts again for the same test alone,
// with the role and its argument in the environment, and the test hands the job to
// RunIfChild before anything else, so that the child does the job and nothing more.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace velk_test {

inline constexpr const char* kChildRole = "VELK_TEST_CHILD_ROLE";
inline constexpr const char* kChildArgument = "VELK_TEST_CHILD_ARGUMENT";

/// In the child of role, runs job on its argument and ends the process; elsewhere returns.
inline void RunIfChild(const std::string& role,
                       const std::function<void(const std::string&)>& job) {
#ifdef _WIN32
    const char* named = std::getenv(kChildRole);
    if (named != nullptr && role == named) {
        const char* argument = std::getenv(kChildArgument);
        job(argument != nullptr ? argument : "");
        std::_Exit(0);
    }
#else
    static_cast<void>(role);
    static_cast<void>(job);
#endif
}

class ChildProcess {
public:
    /// Starts the child of role with argument; job is what RunIfChild of the same role runs.
    ChildProcess(const std::string& role, const std::string& argument,
                 const std::function<void(const std::string&)>& job) {
#ifdef _WIN32
        static_cast<void>(job);
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string filter =
            std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
        wchar_t program[MAX_PATH];
        ::GetModuleFileNameW(nullptr, program, MAX_PATH);
        std::wstring line = L"\"" + std::wstring(program) + L"\" " + Wide(filter);
        ::SetEnvironmentVariableW(Wide(kChildRole).c_str(), Wide(role).c_str());
        ::SetEnvironmentVariableW(Wide(kChildArgument).c_str(), Wide(argument).c_str());
        STARTUPINFOW start{};
        start.cb = sizeof start;
        // Under Wine a start now and then fails while the machine is busy; a few tries settle it.
        BOOL started = FALSE;
        DWORD error = 0;
        for (int attempt = 0; attempt < 20 && !started; ++attempt) {
            started = ::CreateProcessW(program, line.data(), nullptr, nullptr, FALSE,
                                       DETACHED_PROCESS | CREATE_SUSPENDED, nullptr, nullptr,
                                       &start, &process_);
            if (!started) {
                error = ::GetLastError();
                ::Sleep(100);
            }
        }
        if (started) {
            // A test program ended from outside (a timeout) takes its children with it, rather
            // than leaving one that saves for ever.
            ::AssignProcessToJobObject(Children(), process_.hProcess);
            ::ResumeThread(process_.hThread);
        }
        ::SetEnvironmentVariableW(Wide(kChildRole).c_str(), nullptr);
        ::SetEnvironmentVariableW(Wide(kChildArgument).c_str(), nullptr);
        if (!started) {
            ADD_FAILURE() << "cannot start the child (Windows error " << error << ")";
        } else {
            ::CloseHandle(process_.hThread);
        }
#else
        static_cast<void>(role);
        const pid_t parent = ::getpid();
        pid_ = ::fork();
        if (pid_ == 0) {
            // A test program ended from outside (a timeout) takes its children with it, rather
            // than leaving one that saves for ever.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent) {
                ::_exit(0);
            }
            job(argument);
            ::_exit(0);
        }
#endif
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() {
        Kill();
    }

    /// Ends the child at once, as a kill from outside does, and waits until it is gone.
    void Kill() {
#ifdef _WIN32
        if (process_.hProcess != nullptr) {
            ::TerminateProcess(process_.hProcess, 9);
            ::WaitForSingleObject(process_.hProcess, INFINITE);
            ::CloseHandle(process_.hProcess);
            process_.hProcess = nullptr;
        }
#else
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = 0;
        }
#endif
    }

private:
#ifdef _WIN32
    /// The job of this program's children, ended with the program.
    static HANDLE Children() {
        static const HANDLE job = [] {
            const HANDLE made = ::CreateJobObjectW(nullptr, nullptr);
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            ::SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits,
                                      sizeof limits);
            return made;
        }();
        return job;
    }

    static std::wstring Wide(const std::string& text) {
        const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(),
                                               static_cast<int>(text.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(size), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                              size);
        return wide;
    }

    PROCESS_INFORMATION process_{};
#else
    pid_t pid_ = 0;
#endif
};

}  // namespace velk_test
