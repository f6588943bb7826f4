#pragma once

#include <string>

class ProgressObserver;
class World;

/// Paints the whole world, at its size, through a headless window and the world view, and
/// writes the picture as a PNG file: into a temporary file beside it first, renamed over the
/// PNG file only when whole, so a failure leaves no partial picture. The world is left as it
/// was. False, with a message in error, when the world has no area, is larger than the view's
/// back buffer, or the file cannot be written (a folder, a pipe or a device is refused).
bool RenderWorldToPng(World& world, const std::string& pngPath, std::string& error);

/// What RenderWorldFileToPng does with a world file that does not read completely.
enum class IncompleteWorlds {
    refuse,  ///< paint nothing: a picture of part of a file would pass for the whole
    paint,   ///< paint what was understood and say what is missing in warning
};

/// Opens the world file with OpenWorldFile, then renders it as RenderWorldToPng does. False,
/// with a message in error, when the file cannot be read, is not a world file, is the PNG file
/// itself, or (with refuse) does not read completely. With paint, a world that does not read
/// completely is painted and warning says what is missing. The reading is told to progress,
/// when given.
bool RenderWorldFileToPng(const std::string& worldPath, const std::string& pngPath,
                          std::string& error,
                          IncompleteWorlds incomplete = IncompleteWorlds::refuse,
                          std::string* warning = nullptr, ProgressObserver* progress = nullptr);
