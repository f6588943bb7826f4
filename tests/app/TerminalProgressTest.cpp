#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/TerminalProgress.h"

namespace {

constexpr const char* kClear = "\r\033[K";

// Nothing is written before the delay; after it, one line that starts by erasing the one
// before; at the end the line is erased, so what follows starts on a clean line. A read that
// never outlasted the delay leaves no trace at all.
TEST(TerminalProgress, DrawsOneSelfErasingLineOnlyAfterTheDelay) {
    std::ostringstream out;
    double now = 0;
    {
        TerminalProgress progress(out, "/some/folder/big.world", 0.5, [&now] { return now; });
        now = 0.2;
        EXPECT_TRUE(progress.OnProgress(1'000'000, 10'000'000));
        EXPECT_EQ(out.str(), "");
        now = 1.0;
        EXPECT_TRUE(progress.OnProgress(4'100'000, 10'000'000));
        const std::string line = out.str();
        EXPECT_EQ(line.rfind(std::string(kClear) + "Reading big.world: 41%, ", 0), 0u) << line;
        EXPECT_NE(line.find("/s"), std::string::npos) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
        out.str("");
    }
    EXPECT_EQ(out.str(), kClear);

    std::ostringstream quiet;
    {
        TerminalProgress progress(quiet, "small.world", 0.5, [] { return 0.1; });
        EXPECT_TRUE(progress.OnProgress(10, 10));
    }
    EXPECT_EQ(quiet.str(), "");
}

}  // namespace
