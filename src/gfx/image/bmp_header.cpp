#include "gfx/image/bmp_header.h"

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

#include "gfx/image/byte_reader.h"
#include "gfx/error.h"

namespace {

constexpr std::uint64_t kFileHeaderSize = 14;

enum class HeaderKind { Core, Windows, Os2 };

// Compression field values.
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

HeaderKind KindOfHeader(std::uint32_t size)
{
    switch (size) {
    case 12: return HeaderKind::Core;
    case 40:
    case 52:
    case 56:
    case 108:
    case 124: return HeaderKind::Windows;
    case 64: return HeaderKind::Os2;
    default: throw Error("Unsupported BMP header size " + std::to_string(size));
    }
}

std::vector<std::uint8_t> ReadBytes(ImageSource& source, std::uint64_t offset, std::uint64_t count, const char* what)
{
    if (offset > source.Size() || count > source.Size() - offset) throw Error(std::string(what) + " is truncated");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    source.ReadExactly(offset, bytes);
    return bytes;
}

bool IsPlainBitCount(int bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

BmpEncoding EncodingOf(std::uint32_t compression, int bitCount, HeaderKind kind, bool& bitFields)
{
    bitFields = false;
    bool valid = false;
    BmpEncoding encoding = BmpEncoding::Uncompressed;
    switch (compression) {
    case kRgb: valid = IsPlainBitCount(bitCount); break;
    case kRle8:
        valid = bitCount == 8;
        encoding = BmpEncoding::Rle8;
        break;
    case kRle4:
        valid = bitCount == 4;
        encoding = BmpEncoding::Rle4;
        break;
    case kBitFields:
    case kAlphaBitFields:
        // In the OS/2 header these numbers mean Huffman and RLE24 instead.
        valid = kind == HeaderKind::Windows && (bitCount == 16 || bitCount == 32);
        bitFields = true;
        break;
    default: throw Error("Unsupported BMP compression " + std::to_string(compression));
    }
    if (!valid) {
        throw Error("Unsupported BMP format: " + std::to_string(bitCount) + " bits per pixel with compression " +
                    std::to_string(compression));
    }
    return encoding;
}

} // namespace

BmpChannel BmpChannel::FromMask(std::uint32_t mask)
{
    BmpChannel channel;
    if (mask == 0) return channel;
    channel.mask = mask;
    channel.shift = std::countr_zero(mask);
    channel.bits = static_cast<int>(std::bit_width(mask >> channel.shift));
    return channel;
}

BmpHeader ReadBmpHeader(ImageSource& source)
{
    const std::uint64_t fileSize = source.Size();
    const std::vector<std::uint8_t> start = ReadBytes(source, 0, kFileHeaderSize + 4, "The BMP file header");
    ByteReader fileHeader(start, "The BMP file header");
    if (fileHeader.U8() != 'B' || fileHeader.U8() != 'M') throw Error("Not a BMP file");
    fileHeader.Skip(8); // file size and reserved words: often wrong, never needed
    const std::uint64_t dataOffset = fileHeader.U32();
    const std::uint32_t infoSize = fileHeader.U32();
    const HeaderKind kind = KindOfHeader(infoSize);

    const std::vector<std::uint8_t> infoBytes = ReadBytes(source, kFileHeaderSize, infoSize, "The BMP header");
    ByteReader info(infoBytes, "The BMP header");
    info.Skip(4);
    BmpHeader header;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0};
    if (kind == HeaderKind::Core) {
        width = info.U16();
        height = info.U16();
        info.Skip(2); // planes
        header.bitCount = info.U16();
    } else {
        width = info.I32();
        height = info.I32();
        info.Skip(2); // planes
        header.bitCount = info.U16();
        compression = info.U32();
        info.Skip(12); // image size (unreliable), resolution
        colorsUsed = info.U32();
        info.Skip(4); // important colours
        if (kind == HeaderKind::Windows && infoSize >= 52) {
            for (std::uint32_t& mask : masks) mask = info.U32();
        }
    }

    if (height < 0) {
        header.topDown = true;
        height = -height;
    }
    if (width <= 0 || height <= 0) {
        throw Error("Invalid BMP image size " + std::to_string(width) + " x " + std::to_string(height));
    }
    if (width * height > kMaxBitmapPixels) {
        throw Error("The BMP image is too large (" + std::to_string(width) + " x " + std::to_string(height) + ")");
    }
    header.width = static_cast<int>(width);
    header.height = static_cast<int>(height);

    bool bitFields = false;
    header.encoding = EncodingOf(compression, header.bitCount, kind, bitFields);

    // A 40-byte header keeps its masks in the 12 or 16 bytes after it.
    std::uint64_t headersEnd = kFileHeaderSize + infoSize;
    if (bitFields && infoSize == 40) {
        const std::uint64_t maskBytes = compression == kAlphaBitFields ? 16 : 12;
        const std::vector<std::uint8_t> maskData = ReadBytes(source, headersEnd, maskBytes, "The BMP colour masks");
        ByteReader maskReader(maskData, "The BMP colour masks");
        for (std::uint32_t& mask : masks) mask = maskReader.U32();
        headersEnd += maskBytes;
    }
    if (!bitFields && header.bitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else if (!bitFields && header.bitCount == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
    header.red = BmpChannel::FromMask(masks[0]);
    header.green = BmpChannel::FromMask(masks[1]);
    header.blue = BmpChannel::FromMask(masks[2]);

    if (dataOffset < headersEnd) throw Error("The BMP pixel data overlaps the headers");
    if (dataOffset >= fileSize) throw Error("The BMP pixel data lies outside the file");
    header.dataOffset = dataOffset;

    // The palette lies between the headers and the pixel data; a short one (colours used, or
    // less room than the bit count promises) leaves the other indices black.
    if (header.bitCount <= 8) {
        const std::uint64_t entrySize = kind == HeaderKind::Core ? 3 : 4;
        std::uint64_t entries = std::uint64_t{1} << header.bitCount;
        if (colorsUsed != 0) entries = std::min<std::uint64_t>(entries, colorsUsed);
        entries = std::min(entries, (dataOffset - headersEnd) / entrySize);
        if (entries == 0) throw Error("The BMP file has no palette");
        const std::vector<std::uint8_t> paletteData =
            ReadBytes(source, headersEnd, entries * entrySize, "The BMP palette");
        for (std::size_t i = 0; i < entries; ++i) {
            const std::uint8_t* entry = paletteData.data() + i * entrySize;
            header.palette[i] = MakePixel(entry[2], entry[1], entry[0]);
        }
    }

    const std::uint64_t rowBits = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(header.bitCount);
    header.rowStride = (rowBits + 31) / 32 * 4;
    if (header.encoding == BmpEncoding::Uncompressed) {
        // The last row may lack its padding; everything else must be there.
        const std::uint64_t needed = header.rowStride * static_cast<std::uint64_t>(height - 1) + (rowBits + 7) / 8;
        if (needed > fileSize - dataOffset) throw Error("The BMP pixel data is truncated");
    }
    return header;
}
