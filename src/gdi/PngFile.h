#pragma once

#include <string>

class CBitmap;

/// Writes the bitmap as an 8-bit RGB PNG file. On failure returns false and, when `error` is
/// given, says why (naming the file).
bool WritePng(const CBitmap& bitmap, const std::string& path, std::string* error = nullptr);

/// The bitmap as the bytes of an 8-bit RGB PNG file. On failure returns false and, when
/// `error` is given, says why.
bool EncodePng(const CBitmap& bitmap, std::string& bytes, std::string* error = nullptr);

/// Reads an 8-bit RGB or RGBA PNG file into an empty bitmap (alpha is dropped). On failure
/// returns false, leaves the bitmap empty and, when `error` is given, says why.
bool ReadPng(const std::string& path, CBitmap* bitmap, std::string* error = nullptr);
