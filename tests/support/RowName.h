#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace velk_test {

/// Names a table's test after its row's `name`: letters and digits kept, the rest '_'.
struct RowName {
    template <typename Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
        std::string name = info.param.name;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    }
};

}  // namespace velk_test
