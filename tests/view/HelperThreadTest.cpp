#include "view/HelperThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace {

// Whether the helper begins a job or the caller takes it back, it runs exactly once and is done
// when Finish returns; what it throws reaches the caller. The sanitizer builds watch the rest.
TEST(HelperThreadTest, EveryJobRunsOnceAndIsDoneWhenFinishReturns) {
    std::atomic<int> runs{0};  // outlives the helper, which may still run the last job
    HelperThread helper;
    helper.Finish();  // nothing offered
    int done = 0;
    for (int i = 0; i < 200; ++i) {
        helper.Offer([&runs, i] {
            if (i % 3 == 0) {
                std::this_thread::yield();
            }
            ++runs;
        });
        if (i % 2 == 0) {
            std::this_thread::yield();  // gives the helper a chance to begin
        }
        helper.Finish();
        done += runs.load() == i + 1 ? 1 : 0;
    }
    EXPECT_EQ(done, 200);

    for (int i = 0; i < 20; ++i) {
        helper.Offer([] { throw std::runtime_error("band failed"); });
        EXPECT_THROW(helper.Finish(), std::runtime_error);
    }
    helper.Offer([&runs] { ++runs; });  // left unfinished: run or dropped, never half-run
}

}  // namespace
