#pragma once

#include <string>

class World;

/// Paints the whole world, at its size, through a headless window and the world view, and
/// writes the picture as a PNG file. The world is left as it was. False, with a message in
/// error, when the world has no area, is larger than the view's back buffer, or the file cannot
/// be written.
bool RenderWorldToPng(World& world, const std::string& pngPath, std::string& error);

/// Loads the world file the way the program opens it, then renders it as RenderWorldToPng
/// does. False, with a message in error, when the file cannot be read, is not a world file, or
/// was read only in part (a picture of part of a file would pass for the whole).
bool RenderWorldFileToPng(const std::string& worldPath, const std::string& pngPath,
                          std::string& error);
