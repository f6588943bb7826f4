#pragma once

#include <string>

/// The user's folder named by an XDG base-directory variable (XDG_CACHE_HOME, XDG_STATE_HOME,
/// ...) followed by below, or, when the variable is unset or not absolute, the home folder
/// followed by homeDefault and below. A home folder that HOME does not name is taken from the
/// user database, and /tmp stands in when even that has none. Where the system has a folder
/// for the user's data on this machine (%LOCALAPPDATA% on Windows), an unset variable means
/// that folder followed by below.
std::string UserFolder(const char* variable, const std::string& homeDefault,
                       const std::string& below);
