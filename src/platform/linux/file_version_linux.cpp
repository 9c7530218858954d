#include "platform/file_version.h"

#include <array>
#include <cstring>
#include <fstream>
#include <limits>
#include <vector>

namespace {

// The record that the program file carries in a section of its own: a tag, then the major,
// minor, release and build numbers, in the file's byte order.
constexpr char kVersionSection[] = ".tovelin_version";
constexpr std::array<char, 4> kRecordTag{'T', 'V', 'E', 'R'};
constexpr std::size_t kRecordSize = kRecordTag.size() + 4 * sizeof(std::uint16_t);

struct VersionRecord {
    std::array<char, 4> tag;
    std::array<std::uint16_t, 4> numbers;
};
static_assert(sizeof(VersionRecord) == kRecordSize);

// "used" keeps the record although nothing reads it in memory; it lives in this file so that
// linking the reader links the record.
[[gnu::used, gnu::section(".tovelin_version")]] const VersionRecord kVersionRecord{
    kRecordTag, {TOVELIN_VERSION_MAJOR, TOVELIN_VERSION_MINOR, TOVELIN_VERSION_PATCH, TOVELIN_VERSION_TWEAK}};

using Bytes = std::vector<unsigned char>;

// Reads exactly size bytes at offset, or nothing when they are not all in the file.
class FileReader {
public:
    explicit FileReader(const std::string& path) : m_Stream(path, std::ios::binary)
    {
        if (!m_Stream) return;
        m_Stream.seekg(0, std::ios::end);
        const std::streamoff end = m_Stream.tellg();
        if (end > 0) m_Size = static_cast<std::uint64_t>(end);
    }

    std::uint64_t Size() const { return m_Size; }

    bool Read(std::uint64_t offset, std::uint64_t size, Bytes& out)
    {
        if (offset > m_Size || size > m_Size - offset) return false;
        out.resize(static_cast<std::size_t>(size));
        if (size == 0) return true;
        m_Stream.clear();
        m_Stream.seekg(static_cast<std::streamoff>(offset));
        m_Stream.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(size));
        return m_Stream.gcount() == static_cast<std::streamsize>(size);
    }

private:
    std::ifstream m_Stream;
    std::uint64_t m_Size = 0;
};

// Fields of the ELF headers in either class and byte order; every read is checked against the
// bytes given.
class ElfFields {
public:
    ElfFields(bool is64, bool bigEndian) : m_Is64(is64), m_BigEndian(bigEndian) {}

    bool Is64() const { return m_Is64; }

    std::uint64_t Unsigned(const Bytes& bytes, std::size_t offset, std::size_t width) const
    {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t index = m_BigEndian ? offset + i : offset + width - 1 - i;
            value = (value << 8) | bytes[index];
        }
        return value;
    }
    // A field that is 4 bytes wide in ELF32 and 8 in ELF64.
    std::uint64_t Word(const Bytes& bytes, std::size_t offset32, std::size_t offset64) const
    {
        return m_Is64 ? Unsigned(bytes, offset64, 8) : Unsigned(bytes, offset32, 4);
    }

private:
    bool m_Is64;
    bool m_BigEndian;
};

struct SectionHeader {
    std::uint32_t name = 0;
    std::uint32_t type = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint32_t link = 0;
};

constexpr std::uint32_t kSectionNoBits = 8; // SHT_NOBITS: no bytes in the file
constexpr std::uint64_t kExtendedIndex = 0xFFFF; // SHN_XINDEX
constexpr std::uint64_t kLowReserveIndex = 0xFF00; // SHN_LORESERVE

SectionHeader ParseSectionHeader(const ElfFields& elf, const Bytes& entry)
{
    SectionHeader header;
    header.name = static_cast<std::uint32_t>(elf.Unsigned(entry, 0, 4));
    header.type = static_cast<std::uint32_t>(elf.Unsigned(entry, 4, 4));
    header.offset = elf.Word(entry, 16, 24);
    header.size = elf.Word(entry, 20, 32);
    header.link = static_cast<std::uint32_t>(elf.Unsigned(entry, elf.Is64() ? 40 : 24, 4));
    return header;
}

} // namespace

std::optional<FileVersion> ReadFileVersion(const std::string& path)
{
    FileReader file(path);
    Bytes ident;
    if (!file.Read(0, 16, ident)) return std::nullopt;
    if (std::memcmp(ident.data(), "\x7F" "ELF", 4) != 0) return std::nullopt;
    const unsigned char elfClass = ident[4];
    const unsigned char byteOrder = ident[5];
    if ((elfClass != 1 && elfClass != 2) || (byteOrder != 1 && byteOrder != 2)) return std::nullopt;
    const ElfFields elf(elfClass == 2, byteOrder == 2);

    Bytes header;
    if (!file.Read(0, elf.Is64() ? 64 : 52, header)) return std::nullopt;
    const std::uint64_t tableOffset = elf.Word(header, 32, 40);
    const std::size_t fieldBase = elf.Is64() ? 58 : 46;
    const std::uint64_t entrySize = elf.Unsigned(header, fieldBase, 2);
    std::uint64_t count = elf.Unsigned(header, fieldBase + 2, 2);
    std::uint64_t namesIndex = elf.Unsigned(header, fieldBase + 4, 2);
    const std::uint64_t minimumEntry = elf.Is64() ? 64 : 40;
    if (tableOffset == 0 || entrySize < minimumEntry) return std::nullopt;

    Bytes entry;
    const auto readSection = [&](std::uint64_t index, SectionHeader& out) {
        if (index >= count && !(index == 0 && count == 0)) return false;
        if (index > std::numeric_limits<std::uint64_t>::max() / entrySize) return false;
        const std::uint64_t at = index * entrySize;
        if (at > std::numeric_limits<std::uint64_t>::max() - tableOffset) return false;
        if (!file.Read(tableOffset + at, entrySize, entry)) return false;
        out = ParseSectionHeader(elf, entry);
        return true;
    };

    // Many sections: the counts live in the first section header instead.
    if (count == 0 || namesIndex == kExtendedIndex) {
        SectionHeader first;
        if (!readSection(0, first)) return std::nullopt;
        if (count == 0) count = first.size;
        if (namesIndex == kExtendedIndex) namesIndex = first.link;
    } else if (namesIndex >= kLowReserveIndex) {
        return std::nullopt;
    }
    // The table must fit in the file; this also bounds the loop below.
    if (count == 0 || count > file.Size() / entrySize) return std::nullopt;

    SectionHeader names;
    if (!readSection(namesIndex, names) || names.type == kSectionNoBits) return std::nullopt;
    Bytes nameTable;
    if (!file.Read(names.offset, names.size, nameTable)) return std::nullopt;
    const std::size_t wantedLength = sizeof kVersionSection; // with its terminating zero

    for (std::uint64_t index = 1; index < count; ++index) {
        SectionHeader section;
        if (!readSection(index, section)) return std::nullopt;
        if (section.name >= nameTable.size() || nameTable.size() - section.name < wantedLength) continue;
        if (std::memcmp(nameTable.data() + section.name, kVersionSection, wantedLength) != 0) continue;
        if (section.type == kSectionNoBits || section.size < kRecordSize) return std::nullopt;
        Bytes record;
        if (!file.Read(section.offset, kRecordSize, record)) return std::nullopt;
        if (std::memcmp(record.data(), kRecordTag.data(), kRecordTag.size()) != 0) return std::nullopt;
        const std::size_t base = kRecordTag.size();
        return FileVersion{static_cast<std::uint16_t>(elf.Unsigned(record, base, 2)),
                           static_cast<std::uint16_t>(elf.Unsigned(record, base + 2, 2)),
                           static_cast<std::uint16_t>(elf.Unsigned(record, base + 4, 2)),
                           static_cast<std::uint16_t>(elf.Unsigned(record, base + 6, 2))};
    }
    return std::nullopt;
}
