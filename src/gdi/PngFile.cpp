#include "gdi/PngFile.h"

#include <cstring>
#include <string>
#include <system_error>

#include "files/FileHandle.h"
#include "files/FileTools.h"
#include "files/PngCodec.h"
#include "gdi/CBitmap.h"

namespace {

bool Fail(std::string* error, const std::string& message) {
    if (error != nullptr) {
        *error = message;
    }
    return false;
}

std::string Reason(OsError code) {
    return std::generic_category().message(code);
}

/// PNG files far beyond the largest bitmap are refused before they are read whole.
constexpr std::size_t kLargestPngFile = std::size_t{1} << 30;

}  // namespace

bool WritePng(const CBitmap& bitmap, const std::string& path, std::string* error) {
    std::string bytes;
    if (!EncodePng(bitmap, bytes, error)) {
        if (error != nullptr) {
            *error = "cannot write " + path + ": " + *error;
        }
        return false;
    }
    const OsResult<FileId> opened = TheOs().Open(path, kWriteOnly | kCreate | kTruncate, 0666);
    if (!opened.ok()) {
        return Fail(error, "cannot write " + path + ": " + Reason(opened.error));
    }
    FileHandle file(opened.value);
    OsError written = WriteAll(file.Get(), bytes.data(), bytes.size());
    if (const OsError closed = file.Close(); written == 0) {
        written = closed;
    }
    return written == 0 || Fail(error, "cannot write " + path + ": " + Reason(written));
}

bool EncodePng(const CBitmap& bitmap, std::string& bytes, std::string* error) {
    bytes.clear();
    if (!bitmap.IsCreated()) {
        return Fail(error, "the bitmap is empty");
    }
    std::string why;
    if (!EncodePngPixels(bitmap.GetBits(), bitmap.GetWidth(), bitmap.GetHeight(),
                         static_cast<std::size_t>(bitmap.GetStride()), bytes, why)) {
        return Fail(error, why);
    }
    return true;
}

bool ReadPng(const std::string& path, CBitmap* bitmap, std::string* error) {
    if (bitmap == nullptr || bitmap->IsCreated()) {
        return Fail(error, "cannot read " + path + ": the bitmap is not empty");
    }
    const OsResult<std::string> bytes = ReadSmallFile(path, kLargestPngFile);
    if (!bytes.ok()) {
        return Fail(error, "cannot read " + path + ": " + Reason(bytes.error));
    }
    PixelImage image;
    std::string why;
    if (!DecodePngPixels(bytes.value, image, why)) {
        return Fail(error, "cannot read " + path + ": " + why);
    }
    if (!bitmap->CreateBitmap(image.width, image.height)) {
        return Fail(error, "cannot read " + path + ": unsupported image size or format");
    }
    for (std::int32_t y = 0; y < image.height; ++y) {
        std::memcpy(bitmap->GetBits() +
                        static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap->GetStride()),
                    image.pixels.data() +
                        static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width),
                    static_cast<std::size_t>(image.width) * sizeof(std::uint32_t));
    }
    return true;
}
