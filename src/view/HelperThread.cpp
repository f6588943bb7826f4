#include "view/HelperThread.h"

#include <utility>

HelperThread::HelperThread() : thread_([this] { Run(); }) {}

HelperThread::~HelperThread() {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return state_ != State::running; });
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void HelperThread::Offer(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        job_ = std::move(job);
        failure_ = nullptr;
        state_ = State::offered;
    }
    changed_.notify_all();
}

void HelperThread::Finish() {
    std::unique_lock lock(mutex_);
    if (state_ == State::offered) {
        // Not begun: taken back and run here, outside the lock.
        std::function<void()> job = std::move(job_);
        state_ = State::idle;
        lock.unlock();
        job();
        return;
    }
    changed_.wait(lock, [this] { return state_ != State::running; });
    state_ = State::idle;
    if (std::exception_ptr failure = std::exchange(failure_, nullptr)) {
        std::rethrow_exception(failure);
    }
}

void HelperThread::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || state_ == State::offered; });
        if (stopping_) {
            return;
        }
        std::function<void()> job = std::move(job_);
        state_ = State::running;
        lock.unlock();
        std::exception_ptr failure;
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        failure_ = failure;
        state_ = State::done;
        changed_.notify_all();
    }
}
