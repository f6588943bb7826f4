#include "support/GoldenImage.h"

#include <cstdlib>
#include <string_view>

#include "gdi/CBitmap.h"
#include "gdi/PngFile.h"

namespace {

std::string GoldenPath(const std::string& name, std::string_view suffix) {
    return std::string(VELK_GOLDEN_DIR) + "/" + name + std::string(suffix);
}

bool RecordMode() {
    const char* record = std::getenv("VELK_RECORD_GOLDEN");
    return record != nullptr && std::string_view(record) == "1";
}

const char* kHowToRecord =
    "If the new image is right, record it with: scripts/record-golden.sh (or run the test with "
    "VELK_RECORD_GOLDEN=1) and commit the changed PNG.";

}  // namespace

::testing::AssertionResult MatchesGolden(const CBitmap& bitmap, const std::string& name) {
    const std::string golden = GoldenPath(name, ".png");
    std::string error;
    if (RecordMode()) {
        if (!WritePng(bitmap, golden, &error)) {
            return ::testing::AssertionFailure() << error;
        }
        return ::testing::AssertionSuccess() << "recorded " << golden;
    }

    CBitmap expected;
    if (!ReadPng(golden, &expected, &error)) {
        return ::testing::AssertionFailure() << error << "\n" << kHowToRecord;
    }
    const bool sameSize =
        expected.GetWidth() == bitmap.GetWidth() && expected.GetHeight() == bitmap.GetHeight();
    long differing = 0;
    CBitmap diff;
    diff.CreateBitmap(bitmap.GetWidth(), bitmap.GetHeight());
    for (std::int32_t y = 0; y < bitmap.GetHeight(); ++y) {
        for (std::int32_t x = 0; x < bitmap.GetWidth(); ++x) {
            const COLORREF actual = bitmap.GetPixelColor(x, y);
            const bool same = sameSize && expected.GetPixelColor(x, y) == actual;
            // Matching pixels are shown faded so the differences stand out.
            const COLORREF faded = RGB(GetRValue(actual) / 4 + 160, GetGValue(actual) / 4 + 160,
                                       GetBValue(actual) / 4 + 160);
            diff.GetBits()[y * diff.GetStride() + x] =
                CBitmap::PixelFromColor(same ? faded : RGB(255, 0, 0));
            differing += same ? 0 : 1;
        }
    }
    if (sameSize && differing == 0) {
        return ::testing::AssertionSuccess();
    }
    WritePng(bitmap, GoldenPath(name, ".actual.png"));
    WritePng(diff, GoldenPath(name, ".diff.png"));
    auto failure = ::testing::AssertionFailure();
    if (!sameSize) {
        failure << "size " << bitmap.GetWidth() << "x" << bitmap.GetHeight() << " differs from "
                << golden << " (" << expected.GetWidth() << "x" << expected.GetHeight() << ")";
    } else {
        failure << differing << " pixels differ from " << golden;
    }
    return failure << "\nWrote " << GoldenPath(name, ".actual.png") << " and "
                   << GoldenPath(name, ".diff.png") << ".\n"
                   << kHowToRecord;
}
