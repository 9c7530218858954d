#include "gfx/image/exif_orientation.h"

#include <cstring>
#include <optional>

namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;
constexpr std::size_t kEntrySize = 12;
constexpr std::uint8_t kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};

// Reads the TIFF block's numbers in its own byte order; every read checks its bounds.
class TiffReader {
public:
    TiffReader(std::span<const std::uint8_t> bytes, bool bigEndian) : m_Bytes(bytes), m_BigEndian(bigEndian) {}

    std::optional<std::uint16_t> U16(std::size_t at) const
    {
        if (at > m_Bytes.size() || m_Bytes.size() - at < 2) return std::nullopt;
        const std::uint8_t* p = m_Bytes.data() + at;
        return static_cast<std::uint16_t>(m_BigEndian ? (p[0] << 8) | p[1] : p[0] | (p[1] << 8));
    }
    std::optional<std::uint32_t> U32(std::size_t at) const
    {
        const auto high = U16(m_BigEndian ? at : at + 2);
        const auto low = U16(m_BigEndian ? at + 2 : at);
        if (!high || !low) return std::nullopt;
        return (std::uint32_t{*high} << 16) | *low;
    }

private:
    std::span<const std::uint8_t> m_Bytes;
    bool m_BigEndian;
};

} // namespace

Orientation Orientation::FromTag(int tag)
{
    switch (tag) {
    case 2: return {false, true, false};  // mirrored left to right
    case 3: return {false, true, true};   // turned half way
    case 4: return {false, false, true};  // mirrored top to bottom
    case 5: return {true, false, false};  // mirrored along the main diagonal
    case 6: return {true, false, true};   // to be turned a quarter clockwise
    case 7: return {true, true, true};    // mirrored along the other diagonal
    case 8: return {true, true, false};   // to be turned a quarter anticlockwise
    default: return {};
    }
}

bool IsExifBlock(std::span<const std::uint8_t> app1)
{
    return app1.size() >= sizeof kExifHeader && std::memcmp(app1.data(), kExifHeader, sizeof kExifHeader) == 0;
}

int ExifOrientationTag(std::span<const std::uint8_t> app1)
{
    if (!IsExifBlock(app1) || app1.size() < sizeof kExifHeader + 8) return 1;
    const std::span<const std::uint8_t> tiff = app1.subspan(sizeof kExifHeader);
    const bool bigEndian = tiff[0] == 'M' && tiff[1] == 'M';
    if (!bigEndian && !(tiff[0] == 'I' && tiff[1] == 'I')) return 1;
    const TiffReader reader(tiff, bigEndian);
    if (reader.U16(2) != 42) return 1;
    // Only the first directory holds the tag, so no chain of directories is followed.
    const auto directory = reader.U32(4);
    const auto count = directory ? reader.U16(*directory) : std::nullopt;
    if (!count || *directory >= tiff.size()) return 1;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t entry = *directory + 2 + i * kEntrySize;
        const auto tag = reader.U16(entry);
        if (!tag) return 1;
        if (*tag != kOrientationTag) continue;
        const auto value = reader.U16(entry + 8);
        if (reader.U16(entry + 2) != kShortType || reader.U32(entry + 4) != 1u || !value || *value < 1 || *value > 8)
            return 1;
        return *value;
    }
    return 1;
}
