#pragma once
// The dialog's picture files (src/config/artwork/), built into the program: see
// cmake/EmbedFiles.cmake.
#include <cstdint>
#include <span>

std::span<const std::uint8_t> BannerBmpFile();
std::span<const std::uint8_t> SaveBmpFile();
std::span<const std::uint8_t> CloseBmpFile();
