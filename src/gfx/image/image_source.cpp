#include "gfx/image/image_source.h"

#include <algorithm>
#include <cstring>

#include "gfx/error.h"

void ImageSource::ReadExactly(std::uint64_t offset, std::span<std::uint8_t> buffer)
{
    if (ReadAt(offset, buffer) != buffer.size()) throw Error("The image file could not be read completely");
}

std::size_t MemorySource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) noexcept
{
    if (offset >= m_Bytes.size() || buffer.empty()) return 0;
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), m_Bytes.size() - offset));
    std::memcpy(buffer.data(), m_Bytes.data() + offset, count);
    return count;
}

FileSource::FileSource(const std::string& path) : m_File(path, std::ios::binary)
{
    if (!m_File) throw Error("Cannot open file \"" + path + "\"");
    m_File.seekg(0, std::ios::end);
    const std::streamoff end = m_File.tellg();
    m_File.seekg(0, std::ios::beg);
    if (!m_File || end < 0) throw Error("Cannot read file \"" + path + "\"");
    m_Size = static_cast<std::uint64_t>(end);
}

std::size_t FileSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) noexcept
{
    if (offset >= m_Size || buffer.empty()) return 0;
    if (offset != m_Position || !m_File) {
        m_File.clear();
        m_File.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
        if (!m_File) return 0;
    }
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), m_Size - offset));
    m_File.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(wanted));
    const auto count = static_cast<std::size_t>(std::max<std::streamsize>(m_File.gcount(), 0));
    m_Position = offset + count;
    return count;
}
