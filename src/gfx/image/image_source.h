#pragma once
// Random access to the bytes of one image file, from disk or from memory, so that the readers
// can stream a large file instead of holding all of it.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <span>
#include <string>

class ImageSource {
public:
    virtual ~ImageSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Copies up to buffer.size() bytes from offset and returns how many it copied: fewer only at
    // the end of the data or on a read fault. Never throws, so that it can run inside libjpeg.
    virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) noexcept = 0;

    // Reads exactly buffer.size() bytes or throws Error.
    void ReadExactly(std::uint64_t offset, std::span<std::uint8_t> buffer);
};

class MemorySource final : public ImageSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : m_Bytes(bytes) {}
    std::uint64_t Size() const override { return m_Bytes.size(); }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) noexcept override;

private:
    std::span<const std::uint8_t> m_Bytes;
};

class FileSource final : public ImageSource {
public:
    // Throws Error when the file cannot be opened.
    explicit FileSource(const std::string& path);
    std::uint64_t Size() const override { return m_Size; }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) noexcept override;

private:
    std::ifstream m_File;
    std::uint64_t m_Size = 0;
    std::uint64_t m_Position = 0;
};
