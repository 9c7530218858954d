#include "media/library_cache.h"

#include <charconv>
#include <cstdint>

#include "media/media_kind.h"
#include "platform/user_cache.h"

namespace {

constexpr std::string_view kMagic = "TOVELIN LIBRARY CACHE 1\n";
constexpr std::size_t kMaxEntryBytes = 32767;
constexpr std::size_t kMaxDirectoriesBytes = 1 << 20;
// The smallest entry line: a one-digit length, a space, a line end.
constexpr std::size_t kMinEntryBytes = 3;

std::uint64_t Checksum(std::string_view bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325ull; // FNV-1a
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

void AppendEntry(std::string& out, std::string_view entry)
{
    out += std::to_string(entry.size());
    out += ' ';
    out += entry;
    out += '\n';
}

void AppendList(std::string& out, char tag, const StringList& list)
{
    out += tag;
    out += ' ';
    out += std::to_string(list.size());
    out += '\n';
    for (const std::string& entry : list) AppendEntry(out, entry);
}

// Reads the text front to back; every read checks what it takes, and the first fault sticks.
class Reader {
public:
    explicit Reader(std::string_view text) : m_Rest(text) {}

    bool Ok() const { return m_Ok; }
    bool AtEnd() const { return m_Rest.empty(); }
    std::size_t Remaining() const { return m_Rest.size(); }

    void Expect(std::string_view literal)
    {
        if (m_Ok && m_Rest.starts_with(literal)) {
            m_Rest.remove_prefix(literal.size());
        } else {
            m_Ok = false;
        }
    }

    std::size_t Number(std::size_t max)
    {
        std::size_t value = 0;
        if (!m_Ok || m_Rest.empty() || m_Rest.front() < '0' || m_Rest.front() > '9') return Fail();
        const auto [end, error] = std::from_chars(m_Rest.data(), m_Rest.data() + m_Rest.size(), value);
        if (error != std::errc{} || value > max) return Fail();
        m_Rest.remove_prefix(static_cast<std::size_t>(end - m_Rest.data()));
        return value;
    }

    std::string_view Entry(std::size_t maxBytes)
    {
        const std::size_t size = Number(maxBytes);
        Expect(" ");
        if (!m_Ok || size >= m_Rest.size() || m_Rest[size] != '\n') {
            m_Ok = false;
            return {};
        }
        const std::string_view entry = m_Rest.substr(0, size);
        m_Rest.remove_prefix(size + 1);
        if (entry.find('\0') != std::string_view::npos) m_Ok = false;
        return entry;
    }

    // A tagged count of entries, each accepted by valid.
    template <typename Valid> StringList List(char tag, Valid valid, std::size_t minBytes)
    {
        StringList list;
        Expect(std::string{tag, ' '});
        const std::size_t count = Number(Remaining() / kMinEntryBytes);
        Expect("\n");
        if (!m_Ok) return list;
        list.reserve(count);
        for (std::size_t i = 0; i < count && m_Ok; ++i) {
            const std::string_view entry = Entry(kMaxEntryBytes);
            if (entry.size() < minBytes || !valid(entry)) m_Ok = false;
            list.emplace_back(entry);
        }
        return list;
    }

private:
    std::size_t Fail()
    {
        m_Ok = false;
        return 0;
    }

    std::string_view m_Rest;
    bool m_Ok = true;
};

} // namespace

std::string FormatLibrary(std::string_view directories, const StringList& photos, const StringList& music,
                          const StringList& walkedFolders)
{
    std::size_t bytes = kMagic.size() + directories.size() + 64;
    for (const StringList* list : {&photos, &music, &walkedFolders}) {
        for (const std::string& entry : *list) bytes += entry.size() + 8;
    }
    std::string out;
    out.reserve(bytes);
    out += kMagic;
    out += "D ";
    AppendEntry(out, directories);
    AppendList(out, 'P', photos);
    AppendList(out, 'M', music);
    AppendList(out, 'W', walkedFolders);
    char checksum[17];
    const auto end = std::to_chars(checksum, checksum + 16, Checksum(out), 16).ptr;
    out += "END ";
    out.append(checksum, end);
    out += '\n';
    return out;
}

std::optional<RememberedLibrary> ParseLibrary(std::string_view text, std::string_view directories)
{
    // The checksum line closes the file: without it the file was cut short.
    const std::size_t endLine = text.rfind("END ");
    if (endLine == std::string_view::npos || text.empty() || text.back() != '\n') return std::nullopt;
    Reader reader(text.substr(0, endLine));
    reader.Expect(kMagic);
    reader.Expect("D ");
    const std::string_view stored = reader.Entry(kMaxDirectoriesBytes);
    // Another directory list is turned away before the whole file is summed.
    if (!reader.Ok() || stored != directories) return std::nullopt;
    const std::string_view hex = text.substr(endLine + 4, text.size() - endLine - 5);
    std::uint64_t checksum = 0;
    const auto [hexEnd, hexError] = std::from_chars(hex.data(), hex.data() + hex.size(), checksum, 16);
    if (hex.empty() || hex.size() > 16 || hexError != std::errc{} || hexEnd != hex.data() + hex.size() ||
        Checksum(text.substr(0, endLine)) != checksum) {
        return std::nullopt;
    }
    RememberedLibrary library;
    library.directories = std::string(stored);
    library.photos = reader.List('P', [](std::string_view path) { return ClassifyMediaFile(path) == MediaKind::Photo; }, 1);
    library.music = reader.List('M', [](std::string_view path) { return ClassifyMediaFile(path) == MediaKind::Music; }, 1);
    library.walkedFolders = reader.List('W', [](std::string_view) { return true; }, 0);
    if (!reader.Ok() || !reader.AtEnd()) return std::nullopt;
    return library;
}

RememberedLibrary LoadRememberedLibrary(const std::string& directories)
{
    if (const auto text = ReadUserCacheFile(kLibraryCacheFileName, kLibraryCacheMaxBytes)) {
        if (auto library = ParseLibrary(*text, directories)) return std::move(*library);
    }
    RememberedLibrary none;
    none.directories = directories;
    return none;
}

bool SaveRememberedLibrary(std::string_view directories, const StringList& photos, const StringList& music,
                           const StringList& walkedFolders)
{
    const std::string text = FormatLibrary(directories, photos, music, walkedFolders);
    return text.size() <= kLibraryCacheMaxBytes && WriteUserCacheFile(kLibraryCacheFileName, text);
}
