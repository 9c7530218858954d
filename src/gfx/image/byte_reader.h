#pragma once
// A bounds-checked little-endian cursor over bytes already in memory: every read either lies
// inside the span or throws Error, so a header parser cannot run past what the file holds.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "gfx/error.h"

class ByteReader {
public:
    ByteReader(std::span<const std::uint8_t> bytes, std::string what) : m_Bytes(bytes), m_What(std::move(what)) {}

    std::size_t Position() const { return m_Position; }
    std::size_t Remaining() const { return m_Bytes.size() - m_Position; }

    void Skip(std::size_t count) { Take(count); }
    std::uint8_t U8() { return *Take(1); }
    std::uint16_t U16()
    {
        const std::uint8_t* p = Take(2);
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }
    std::uint32_t U32()
    {
        const std::uint8_t* p = Take(4);
        return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
               (std::uint32_t{p[3]} << 24);
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

private:
    const std::uint8_t* Take(std::size_t count)
    {
        if (count > Remaining()) throw Error(m_What + " is truncated");
        const std::uint8_t* p = m_Bytes.data() + m_Position;
        m_Position += count;
        return p;
    }

    std::span<const std::uint8_t> m_Bytes;
    std::string m_What;
    std::size_t m_Position = 0;
};
