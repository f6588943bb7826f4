#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

/// A second thread for one job at a time, which the caller takes back and runs itself when the
/// thread has not begun it by the time the caller wants it done. So a job never waits for a
/// busy machine to find the thread a core: at worst it runs on the caller, as if there were no
/// helper.
class HelperThread {
public:
    HelperThread();
    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;
    /// Waits for a job in progress, then ends the thread; a job offered but not begun is
    /// dropped.
    ~HelperThread();

    /// Hands the job to the thread and returns at once. One job at a time: Finish it first.
    void Offer(std::function<void()> job);
    /// Returns when the offered job is done: runs it here unless the thread has begun it, in
    /// which case it waits. What the job threw is thrown here. Without a job it returns at once.
    void Finish();

private:
    enum class State { idle, offered, running, done };

    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    State state_ = State::idle;
    bool stopping_ = false;
    std::function<void()> job_;
    std::exception_ptr failure_;
    std::thread thread_;  ///< last, so that it starts after everything it uses
};
