#pragma once

#include <gtest/gtest.h>

#include <string>

class CBitmap;

/// Compares the bitmap pixel for pixel with tests/data/golden/<name>.png.
///
/// On a mismatch it writes <name>.actual.png and <name>.diff.png (differing pixels in red)
/// beside the golden file and says how to record the new image on purpose. With the
/// environment variable VELK_RECORD_GOLDEN=1 (scripts/record-golden.sh) it writes the golden
/// file instead and succeeds.
::testing::AssertionResult MatchesGolden(const CBitmap& bitmap, const std::string& name);
