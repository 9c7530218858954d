#include "bmp_writer.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "gfx/error.h"

namespace {

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int n = 0; n < bytes; ++n) out.push_back(static_cast<std::uint8_t>(value >> (8 * n)));
}

} // namespace

void WriteBmpFile(const std::string& path, const Bitmap& bitmap)
{
    constexpr std::uint32_t kHeadersSize = 14 + 40;
    const auto width = static_cast<std::uint32_t>(bitmap.Width());
    const auto height = static_cast<std::uint32_t>(bitmap.Height());
    const std::uint32_t rowSize = (width * 3 + 3) / 4 * 4;
    const std::uint32_t imageSize = rowSize * height;

    std::vector<std::uint8_t> file;
    file.reserve(kHeadersSize + imageSize);
    file.push_back('B');
    file.push_back('M');
    PutLittleEndian(file, kHeadersSize + imageSize, 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, kHeadersSize, 4);
    PutLittleEndian(file, 40, 4); // BITMAPINFOHEADER
    PutLittleEndian(file, width, 4);
    PutLittleEndian(file, height, 4); // positive: rows bottom-up
    PutLittleEndian(file, 1, 2);
    PutLittleEndian(file, 24, 2);
    PutLittleEndian(file, 0, 4); // no compression
    PutLittleEndian(file, imageSize, 4);
    PutLittleEndian(file, 2835, 4); // 72 dpi
    PutLittleEndian(file, 2835, 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, 0, 4);
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        const Pixel* row = bitmap.Row(y);
        for (int x = 0; x < bitmap.Width(); ++x) PutLittleEndian(file, row[x], 3);
        for (std::uint32_t pad = width * 3; pad < rowSize; ++pad) file.push_back(0);
    }

    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    stream.close();
    if (!stream) throw Error("Cannot write " + path);
}
