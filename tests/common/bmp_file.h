#pragma once
// A BMP file of one colour (24 bits a pixel, rows bottom up, each padded to
// four bytes), the kind of picture VB programs load.
#include <cstdint>
#include <fstream>
#include <string>

namespace corvane::testing {

inline std::string solid_bmp(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
  const uint32_t row = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t data = row * static_cast<uint32_t>(height);
  std::string s(54, '\0');
  const auto put = [&](size_t at, uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) s[at + static_cast<size_t>(k)] = static_cast<char>((value >> (8 * k)) & 0xff);
  };
  s[0] = 'B';
  s[1] = 'M';
  put(2, 54 + data, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(width), 4);
  put(22, static_cast<uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, data, 4);
  for (int y = 0; y < height; ++y) {
    std::string line;
    for (int x = 0; x < width; ++x) line += {static_cast<char>(blue), static_cast<char>(green), static_cast<char>(red)};
    line.resize(row, '\0');
    s += line;
  }
  return s;
}

inline void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace corvane::testing
