#pragma once
// Random access to the bytes of one image file, from disk or from memory, so that the readers
// can stream a large file instead of holding all of it.
#include <cstddef>
#include <cstdint>
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

// A regular file only: a FIFO or a device could block a read forever, and neither they nor a
// folder hold a picture.
class FileSource final : public ImageSource {
public:
    // Throws Error (whose message does not repeat the path) when the file cannot be opened or
    // is not a regular file.
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::uint64_t Size() const override { return m_Size; }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) noexcept override;

private:
    int m_Descriptor = -1;
    std::uint64_t m_Size = 0;
    std::uint64_t m_Position = 0;
};
