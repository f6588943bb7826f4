#pragma once

#include <cstdint>
#include <vector>

/// The PNG files of resources/icons, built into the program.
namespace icon_files {

const std::vector<std::uint8_t>& Velk32();
const std::vector<std::uint8_t>& Velk16();
const std::vector<std::uint8_t>& VelkDocument32();
const std::vector<std::uint8_t>& VelkDocument16();

}  // namespace icon_files
