// The version record read back from ELF program files: the test program's own, and synthetic
// files that are valid, lack the record, or lie about their sizes and offsets.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "platform/file_version.h"
#include "unit/test_support/temporary_tree.h"

namespace {

// The fields of a small ELF file with a name table and a version section; cases change some.
struct ElfLayout {
    bool is64 = true;
    bool bigEndian = false;
    std::string sectionName = ".tovelin_version";
    std::string tag = "TVER";
    std::uint16_t numbers[4] = {1, 0, 0, 7};
    // Overrides of computed values; -1 keeps the computed one.
    std::int64_t tableOffset = -1;
    std::int64_t entrySize = -1;
    std::int64_t count = -1;
    std::int64_t namesIndex = -1;
    std::int64_t recordOffset = -1;
    std::int64_t recordSize = -1;
    std::int64_t nameOffset = -1;
};

class ElfWriter {
public:
    explicit ElfWriter(const ElfLayout& layout) : m_Layout(layout) {}

    std::string Build() const
    {
        const bool is64 = m_Layout.is64;
        const std::size_t headerSize = is64 ? 64 : 52;
        const std::size_t entrySize = is64 ? 64 : 40;
        const std::string names = std::string(1, '\0') + ".shstrtab" + '\0' + m_Layout.sectionName + '\0';
        const std::size_t namesAt = headerSize;
        const std::size_t recordAt = namesAt + names.size();
        std::string record = m_Layout.tag;
        for (std::uint16_t number : m_Layout.numbers) Put(record, record.size(), number, 2);
        const std::size_t tableAt = recordAt + record.size();

        std::string file(tableAt + 3 * entrySize, '\0');
        file.replace(0, 4, "\x7F" "ELF");
        file[4] = is64 ? 2 : 1;
        file[5] = m_Layout.bigEndian ? 2 : 1;
        file[6] = 1;
        Put(file, is64 ? 40 : 32, Choose(m_Layout.tableOffset, tableAt), is64 ? 8 : 4);
        const std::size_t fields = is64 ? 58 : 46;
        Put(file, fields, Choose(m_Layout.entrySize, entrySize), 2);
        Put(file, fields + 2, Choose(m_Layout.count, 3), 2);
        Put(file, fields + 4, Choose(m_Layout.namesIndex, 1), 2);
        file.replace(namesAt, names.size(), names);
        file.replace(recordAt, record.size(), record);
        Section(file, tableAt + entrySize, 1, 3, namesAt, names.size());
        Section(file, tableAt + 2 * entrySize, Choose(m_Layout.nameOffset, 11), 1, Choose(m_Layout.recordOffset, recordAt),
                Choose(m_Layout.recordSize, record.size()));
        return file;
    }

private:
    static std::uint64_t Choose(std::int64_t given, std::uint64_t computed)
    {
        return given < 0 ? computed : static_cast<std::uint64_t>(given);
    }
    void Put(std::string& bytes, std::size_t at, std::uint64_t value, std::size_t width) const
    {
        if (bytes.size() < at + width) bytes.resize(at + width, '\0');
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t shift = 8 * (m_Layout.bigEndian ? width - 1 - i : i);
            bytes[at + i] = static_cast<char>((value >> shift) & 0xFF);
        }
    }
    void Section(std::string& file, std::size_t at, std::uint64_t name, std::uint64_t type, std::uint64_t offset,
                 std::uint64_t size) const
    {
        const bool is64 = m_Layout.is64;
        Put(file, at, name, 4);
        Put(file, at + 4, type, 4);
        Put(file, at + (is64 ? 24 : 16), offset, is64 ? 8 : 4);
        Put(file, at + (is64 ? 32 : 20), size, is64 ? 8 : 4);
    }

    ElfLayout m_Layout;
};

std::string VersionText(const std::optional<FileVersion>& version)
{
    if (!version) return "none";
    return std::to_string(version->major) + "." + std::to_string(version->minor) + "." +
           std::to_string(version->release) + "." + std::to_string(version->build);
}

class FileVersionLinuxTest : public testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(m_Tree.Native(name), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return m_Tree.Path(name);
    }

    TemporaryTree m_Tree;
};

TEST_F(FileVersionLinuxTest, TheLinkedProgramCarriesTheProjectVersion)
{
    EXPECT_EQ(VersionText(ReadFileVersion("/proc/self/exe")), "2.5.1.1546");
}

TEST_F(FileVersionLinuxTest, SyntheticFilesGiveTheirRecordOrNothing)
{
    const auto with = [](auto change) {
        ElfLayout layout;
        change(layout);
        return layout;
    };
    const struct {
        const char* name;
        ElfLayout layout;
        const char* expected;
    } cases[] = {
        {"valid ELF64", ElfLayout{}, "1.0.0.7"},
        {"valid ELF32 big-endian", with([](ElfLayout& l) { l.is64 = false; l.bigEndian = true; }), "1.0.0.7"},
        {"largest numbers", with([](ElfLayout& l) { l.numbers[0] = l.numbers[3] = 65535; }), "65535.0.0.65535"},
        {"no version section", with([](ElfLayout& l) { l.sectionName = ".data"; }), "none"},
        {"longer section name", with([](ElfLayout& l) { l.sectionName = ".tovelin_versions"; }), "none"},
        {"wrong tag", with([](ElfLayout& l) { l.tag = "XVER"; }), "none"},
        {"record cut short", with([](ElfLayout& l) { l.recordSize = 11; }), "none"},
        {"record past the end", with([](ElfLayout& l) { l.recordOffset = 1 << 20; }), "none"},
        {"record offset wraps", with([](ElfLayout& l) { l.recordOffset = INT64_MAX; }), "none"},
        {"table past the end", with([](ElfLayout& l) { l.tableOffset = 1 << 20; }), "none"},
        {"table offset wraps", with([](ElfLayout& l) { l.tableOffset = INT64_MAX; }), "none"},
        {"no table", with([](ElfLayout& l) { l.tableOffset = 0; }), "none"},
        {"entries too small", with([](ElfLayout& l) { l.entrySize = 8; }), "none"},
        {"count beyond the file", with([](ElfLayout& l) { l.count = 60000; }), "none"},
        {"extended count absent", with([](ElfLayout& l) { l.count = 0; }), "none"},
        {"name table index beyond count", with([](ElfLayout& l) { l.namesIndex = 7; }), "none"},
        {"reserved name table index", with([](ElfLayout& l) { l.namesIndex = 0xFF01; }), "none"},
        {"name offset beyond the table", with([](ElfLayout& l) { l.nameOffset = 4000; }), "none"},
        {"name runs off the table", with([](ElfLayout& l) { l.nameOffset = 20; }), "none"},
    };
    for (const auto& test : cases) {
        const std::string path = Write("case.elf", ElfWriter(test.layout).Build());
        EXPECT_EQ(VersionText(ReadFileVersion(path)), test.expected) << test.name;
    }
}

TEST_F(FileVersionLinuxTest, EveryTruncationOfAValidFileGivesNothing)
{
    const std::string whole = ElfWriter(ElfLayout{}).Build();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const std::string path = Write("cut.elf", whole.substr(0, length));
        EXPECT_FALSE(ReadFileVersion(path)) << "cut at " << length;
    }
}

TEST_F(FileVersionLinuxTest, FilesThatAreNoProgramsGiveNothing)
{
    m_Tree.Directory("folder");
    const std::string paths[] = {
        Write("text.txt", "just some text, long enough to hold an ELF header's worth of bytes and more"),
        Write("empty", ""),
        Write("bad-class", std::string("\x7F" "ELF\x03\x01", 6) + std::string(80, '\0')),
        m_Tree.Path("missing"),
        m_Tree.Path("folder"),
    };
    for (const std::string& path : paths) EXPECT_FALSE(ReadFileVersion(path)) << path;
}

} // namespace
