#include "gdi/PngFile.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "gdi/CBitmap.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool Fail(std::string* error, const std::string& message) {
    if (error != nullptr) {
        *error = message;
    }
    return false;
}

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

}  // namespace

bool WritePng(const CBitmap& bitmap, const std::string& path, std::string* error) {
    std::string bytes;
    if (!EncodePng(bitmap, bytes, error)) {
        if (error != nullptr) {
            *error = "cannot write " + path + ": " + *error;
        }
        return false;
    }
    File file(std::fopen(path.c_str(), "wb"));
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0) {
        return Fail(error, "cannot write " + path + ": " + std::strerror(errno));
    }
    return true;
}

bool EncodePng(const CBitmap& bitmap, std::string& bytes, std::string* error) {
    bytes.clear();
    if (!bitmap.IsCreated()) {
        return Fail(error, "the bitmap is empty");
    }
    const auto width = static_cast<std::size_t>(bitmap.GetWidth());
    const auto height = static_cast<std::size_t>(bitmap.GetHeight());
    // Only heap memory changes between setjmp and a longjmp back to it: a local object changed
    // there would be indeterminate after the jump.
    std::vector<png_byte> row(width * 3);
    const auto pngMessage = std::make_unique<std::string>();
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, pngMessage.get(), OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return Fail(error, "out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return Fail(error, *pngMessage);
    }
    png_set_write_fn(png, &bytes, AppendBytes, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint32_t* pixels =
            bitmap.GetBits() + y * static_cast<std::size_t>(bitmap.GetStride());
        for (std::size_t x = 0; x < width; ++x) {
            row[3 * x] = static_cast<png_byte>(pixels[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(pixels[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(pixels[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool ReadPng(const std::string& path, CBitmap* bitmap, std::string* error) {
    if (bitmap == nullptr || bitmap->IsCreated()) {
        return Fail(error, "cannot read " + path + ": the bitmap is not empty");
    }
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return Fail(error, "cannot read " + path + ": " + std::strerror(errno));
    }
    // Only heap memory changes between setjmp and a longjmp back to it: a local object changed
    // there would be indeterminate after the jump.
    const auto pngMessage = std::make_unique<std::string>();
    const auto row = std::make_unique<std::vector<png_byte>>();
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, pngMessage.get(), OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return Fail(error, "cannot read " + path + ": out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        bitmap->DeleteObject();
        return Fail(error, "cannot read " + path + ": " + *pngMessage);
    }
    png_init_io(png, file.get());
    png_read_info(png, info);
    // Bring every form to 8-bit RGB with the alpha byte dropped.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{width} * 3 ||
        !bitmap->CreateBitmap(static_cast<std::int32_t>(width),
                              static_cast<std::int32_t>(height))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return Fail(error, "cannot read " + path + ": unsupported image size or format");
    }
    row->resize(std::size_t{width} * 3);
    for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, row->data(), nullptr);
        std::uint32_t* pixels =
            bitmap->GetBits() + std::size_t{y} * static_cast<std::size_t>(bitmap->GetStride());
        for (png_uint_32 x = 0; x < width; ++x) {
            const png_byte* rgb = row->data() + 3 * std::size_t{x};
            pixels[x] =
                0xFF000000u | (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2];
        }
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}
