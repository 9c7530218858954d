#pragma once
// Small hostile JPEG files built in the test: a progressive grey picture that claims a huge size
// and holds nothing but empty scans. Each scan makes the decoder walk every block of the picture,
// so a few kilobytes ask for seconds of work and hundreds of megabytes of coefficients.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

struct JpegBombLayout {
    int width = 15000;
    int height = 15000;
    int scans = 1000;
    bool arithmetic = false; // arithmetic coding (SOF10) instead of Huffman (SOF2)
    std::size_t padding = 0; // bytes of comment before the first scan, to make the file look full
};

inline std::vector<std::uint8_t> MakeJpegBomb(const JpegBombLayout& layout)
{
    std::vector<std::uint8_t> out;
    const auto put = [&out](std::initializer_list<int> bytes) {
        for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
    };
    const auto put16 = [&out](std::size_t value) {
        out.push_back(static_cast<std::uint8_t>(value >> 8));
        out.push_back(static_cast<std::uint8_t>(value));
    };
    put({0xFF, 0xD8});
    // One quantization table of ones.
    put({0xFF, 0xDB, 0x00, 0x43, 0x00});
    out.insert(out.end(), 64, 1);
    // The frame: progressive, 8 bits, one component sampled 1x1 with table 0.
    put({0xFF, layout.arithmetic ? 0xCA : 0xC2, 0x00, 0x0B, 0x08});
    put16(static_cast<std::size_t>(layout.height));
    put16(static_cast<std::size_t>(layout.width));
    put({0x01, 0x01, 0x11, 0x00});
    if (!layout.arithmetic) {
        // DC table 0 with the single one-bit code for "no difference".
        put({0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01});
        out.insert(out.end(), 15, 0);
        put({0x00});
    }
    for (std::size_t left = layout.padding; left > 0;) {
        const std::size_t chunk = std::min<std::size_t>(left, 65533);
        put({0xFF, 0xFE});
        put16(chunk + 2);
        out.insert(out.end(), chunk, 'x');
        left -= chunk;
    }
    // DC scans of the one component with no entropy-coded data at all.
    for (int i = 0; i < layout.scans; ++i) put({0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00});
    put({0xFF, 0xD9});
    return out;
}
