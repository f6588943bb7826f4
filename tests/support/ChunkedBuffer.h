#pragma once

#include <algorithm>
#include <cstddef>
#include <streambuf>
#include <string>
#include <utility>

namespace velk_test {

/// Serves a text in get areas of chunk bytes, as a file-backed buffer serves its blocks, or
/// with chunk 0 one character at a time without any get area.
class ChunkedBuffer : public std::streambuf {
public:
    ChunkedBuffer(std::string text, std::size_t chunk) : text(std::move(text)), chunk(chunk) {}

protected:
    int_type underflow() override {
        if (gptr() < egptr()) {
            return traits_type::to_int_type(*gptr());
        }
        if (served == text.size()) {
            return traits_type::eof();
        }
        if (chunk == 0) {
            return traits_type::to_int_type(text[served]);
        }
        // A copy, as a real buffer holds: what lies past the get area is not the text's next byte.
        held.assign(text, served, std::min(chunk, text.size() - served));
        setg(held.data(), held.data(), held.data() + held.size());
        served += held.size();
        return traits_type::to_int_type(held[0]);
    }

    int_type uflow() override {
        if (chunk != 0) {
            return std::streambuf::uflow();
        }
        return served == text.size() ? traits_type::eof()
                                     : traits_type::to_int_type(text[served++]);
    }

private:
    std::string text;
    std::string held;
    std::size_t chunk;
    std::size_t served = 0;
};

}  // namespace velk_test
