#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

/// An opaque picture: width times height pixels as 0xFFRRGGBB words, row after row.
struct PixelImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;
};

/// The PNG codec of the system: libpng on Linux, Windows Imaging Component on Windows. Pictures
/// cross it as plain words, so that the drawing layer's names never meet the system's headers.

/// The bytes of an 8-bit RGB PNG file of width by height pixels whose rows lie stride words
/// apart; false with the reason in error when it cannot be made.
bool EncodePngPixels(const std::uint32_t* pixels, std::int32_t width, std::int32_t height,
                     std::size_t stride, std::string& bytes, std::string& error);

/// The pixels of a PNG file's bytes, any form brought to 8-bit RGB with alpha dropped; false
/// with the reason in error when the bytes are not a PNG file that can be read.
bool DecodePngPixels(const std::string& bytes, PixelImage& image, std::string& error);
