// Picture files written on the build machine by the programs that draw the layered engine's
// images (DrawCoreImages here) and its sample skins (tools/layeredskin): PNG through zlib and
// 24-bit BMP.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imagefiles {

using Bytes = std::vector<std::uint8_t>;

// RGB or RGBA rows (straight alpha), top row first, 8 bits a channel.
Bytes EncodePng(int width, int height, const Bytes& pixels, bool alpha);
// 0xRRGGBB pixels, top row first, as a 24-bit bottom-up BMP file.
Bytes EncodeBmp(int width, int height, const std::vector<std::uint32_t>& pixels);

bool WriteFile(const std::string& path, const Bytes& bytes);

}  // namespace imagefiles
