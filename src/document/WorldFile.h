#pragma once

#include <iosfwd>

class World;

/// Writes the whole world file: the size line, an empty line, then every object, each
/// followed by an empty line. True when the stream is still good afterwards.
[[nodiscard]] bool WriteWorld(std::ostream& out, const World& world);

/// Reads a world file into the world, adding each object read. Lenient: unknown words are
/// skipped, and a fault stops reading but keeps everything read before it, the object being
/// read included. False only when the size line could not be read; the world is then
/// untouched.
[[nodiscard]] bool ReadWorld(std::istream& in, World& world);
