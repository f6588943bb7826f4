#pragma once

/// Numbers of Velk's own resources; the framework's identifiers are in framework/AfxIds.h.
namespace velk {

/// The main frame's menu, accelerators, icon and the document string.
inline constexpr unsigned IDR_MAINFRAME = 128;
/// The document icon, which nothing loads.
inline constexpr unsigned IDR_VELKTYPE = 129;
/// The About dialog.
inline constexpr unsigned IDD_ABOUTBOX = 100;

/// The About box's title line and copyright notice, also in the version record.
inline constexpr const char* kTitleLine = "Velk Version 1.0.0.1";
inline constexpr const char* kCopyright = "Copyright (C) 2026 Velk";

}  // namespace velk
