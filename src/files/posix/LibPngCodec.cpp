// PNG files through libpng, the codec of Linux systems.

#include <png.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "files/PngCodec.h"

namespace {

/// libpng reports errors through longjmp; the message is kept here for the caller.
void OnPngError(png_structp png, png_const_charp message) {
    auto* text = static_cast<std::string*>(png_get_error_ptr(png));
    if (text != nullptr) {
        *text = message;
    }
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    try {
        static_cast<std::string*>(png_get_io_ptr(png))
            ->append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}

void FlushNothing(png_structp) {}

/// The bytes still to be read by a decoder.
struct Source {
    const std::string* bytes;
    std::size_t at = 0;
};

void TakeBytes(png_structp png, png_bytep into, png_size_t length) {
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (source->bytes->size() - source->at < length) {
        png_error(png, "the file ends early");
    }
    std::memcpy(into, source->bytes->data() + source->at, length);
    source->at += length;
}

}  // namespace

bool EncodePngPixels(const std::uint32_t* pixels, std::int32_t width, std::int32_t height,
                     std::size_t stride, std::string& bytes, std::string& error) {
    bytes.clear();
    // Only heap memory changes between setjmp and a longjmp back to it: a local object changed
    // there would be indeterminate after the jump.
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
    const auto pngMessage = std::make_unique<std::string>();
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, pngMessage.get(), OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        error = "out of memory";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = *pngMessage;
        return false;
    }
    png_set_write_fn(png, &bytes, AppendBytes, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
        const std::uint32_t* line = pixels + y * stride;
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
            row[3 * x] = static_cast<png_byte>(line[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(line[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(line[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool DecodePngPixels(const std::string& bytes, PixelImage& image, std::string& error) {
    image = PixelImage{};
    // As above, only heap memory changes between setjmp and a longjmp.
    const auto pngMessage = std::make_unique<std::string>();
    const auto row = std::make_unique<std::vector<png_byte>>();
    const auto source = std::make_unique<Source>(Source{&bytes});
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, pngMessage.get(), OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        error = "out of memory";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        image = PixelImage{};
        error = *pngMessage;
        return false;
    }
    png_set_read_fn(png, source.get(), TakeBytes);
    png_read_info(png, info);
    // Bring every form to 8-bit RGB with the alpha byte dropped.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{width} * 3 || width > (1u << 27) ||
        height > (1u << 27) / (width == 0 ? 1 : width)) {
        png_destroy_read_struct(&png, &info, nullptr);
        error = "unsupported image size or format";
        return false;
    }
    image.width = static_cast<std::int32_t>(width);
    image.height = static_cast<std::int32_t>(height);
    image.pixels.resize(std::size_t{width} * height);
    row->resize(std::size_t{width} * 3);
    for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, row->data(), nullptr);
        std::uint32_t* line = image.pixels.data() + std::size_t{y} * width;
        for (png_uint_32 x = 0; x < width; ++x) {
            const png_byte* rgb = row->data() + 3 * std::size_t{x};
            line[x] =
                0xFF000000u | (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2];
        }
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}
