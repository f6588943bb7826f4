#pragma once

#include <string>

/// The user's folder named by an XDG base-directory variable (XDG_CACHE_HOME, XDG_STATE_HOME,
/// ...) followed by below, or, when the variable is unset or not absolute, the home folder
/// followed by homeDefault and below. A home folder that HOME does not name is taken from the
/// user database, and /tmp stands in when even that has none.
std::string UserFolder(const char* variable, const std::string& homeDefault,
                       const std::string& below);
