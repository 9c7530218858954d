#include "gfx/image/image_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

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

namespace {

// Opening never waits: a FIFO opened for reading would otherwise block until a writer comes.
// The flag means nothing to a regular file, the only kind kept open.
constexpr int kOpenFlags = O_RDONLY
#ifdef O_BINARY
                           | O_BINARY
#endif
#ifdef O_NONBLOCK
                           | O_NONBLOCK
#endif
#ifdef O_CLOEXEC
                           | O_CLOEXEC
#endif
#ifdef O_NOINHERIT
                           | O_NOINHERIT
#endif
    ;

constexpr char kNotAFile[] = "Not a regular file";

// read() takes an unsigned int count on some systems.
constexpr std::size_t kMaxReadSize = std::size_t{1} << 30;

} // namespace

FileSource::FileSource(const std::string& path)
{
    m_Descriptor = ::open(path.c_str(), kOpenFlags);
    if (m_Descriptor < 0) {
        const int cause = errno;
        // Some systems refuse to open a folder at all; say why rather than "access denied".
        std::error_code ignored;
        if (std::filesystem::exists(path, ignored) && !std::filesystem::is_regular_file(path, ignored)) {
            throw Error(kNotAFile);
        }
        throw Error("Cannot open the file: " + std::generic_category().message(cause));
    }
    struct stat status {};
    if (::fstat(m_Descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(m_Descriptor);
        throw Error(kNotAFile);
    }
    const auto end = ::lseek64(m_Descriptor, 0, SEEK_END);
    if (end < 0) {
        ::close(m_Descriptor);
        throw Error("Cannot read the file");
    }
    m_Size = static_cast<std::uint64_t>(end);
    m_Position = m_Size;
}

FileSource::~FileSource()
{
    ::close(m_Descriptor);
}

std::size_t FileSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) noexcept
{
    if (offset >= m_Size || buffer.empty()) return 0;
    if (offset != m_Position) {
        if (::lseek64(m_Descriptor, static_cast<std::int64_t>(offset), SEEK_SET) < 0) return 0;
        m_Position = offset;
    }
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), m_Size - offset));
    std::size_t count = 0;
    while (count < wanted) {
        const auto chunk = static_cast<unsigned>(std::min(wanted - count, kMaxReadSize));
        const auto got = ::read(m_Descriptor, buffer.data() + count, chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        count += static_cast<std::size_t>(got);
        m_Position += static_cast<std::uint64_t>(got);
    }
    return count;
}
