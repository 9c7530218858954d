#include "platform/linux/registry_store.h"

#include <gtest/gtest.h>

#include "unit/test_support/registry_values.h"
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/registry_file_format.h"
#include "platform/registry.h"
#include "temporary_config_home.h"
#include "unit/test_support/registry_removal.h"

namespace fs = std::filesystem;

namespace {

std::optional<RegistryKey> Open(const std::string& path, bool create)
{
    return RegistryKey::Open(RegistryRoot::CurrentUser, path, create);
}

std::vector<std::string> DirectoryNames(const fs::path& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<fs::path> CorruptCopies(const fs::path& directory)
{
    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(directory)) {
        if (entry.path().filename().string().starts_with("registry.reg.corrupt-")) copies.push_back(entry.path());
    }
    return copies;
}

} // namespace

class RegistryStore : public TemporaryConfigHome {};

TEST_F(RegistryStore, OpensWithoutCreateOnlyKeysThatExist)
{
    EXPECT_FALSE(Open("Control Panel\\Desktop", false));
    EXPECT_FALSE(fs::exists(Root() / "config")) << "a failed open creates nothing";

    ASSERT_TRUE(Open("Control Panel\\Desktop", true));
    EXPECT_EQ(fs::status(StoreDirectory()).permissions(), fs::perms::owner_all);
    EXPECT_EQ(ReadText(StoreFile()), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n\n");

    EXPECT_TRUE(Open("control panel\\DESKTOP", false));
    EXPECT_TRUE(Open("Control Panel", false)) << "a parent exists through its sub-keys";
    EXPECT_TRUE(Open("", false));
    EXPECT_FALSE(Open("Control Panel\\Desktop\\Colors", false));
    EXPECT_FALSE(Open("Control", false));

    for (const char* invalid : {"\\Control Panel", "Control Panel\\", "A\\\\B", "A\nB", "A\rB"}) {
        EXPECT_FALSE(Open(invalid, true)) << invalid;
    }
    EXPECT_EQ(ReadText(StoreFile()), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n\n");
}

TEST_F(RegistryStore, ValuesGoStraightToTheFileAndKeysReadThemAsOpened)
{
    auto writer = Open("Software\\Test", true);
    auto early = Open("software\\test", false);
    ASSERT_TRUE(writer && early);

    ASSERT_TRUE(writer->SetValue("Name", Text("first")));
    ASSERT_TRUE(writer->SetValue("NAME", Text("second")));
    ASSERT_TRUE(writer->SetValue("", RegistryValue{regtype::DWord, {7, 0, 0, 0}}));
    EXPECT_EQ(ReadText(StoreFile()),
              "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Test]\n\"Name\"=\"second\"\n@=dword:00000007\n\n");
    const auto later = Open("SOFTWARE\\Test", false);
    ASSERT_TRUE(later);
    for (const RegistryKey* key : std::initializer_list<const RegistryKey*>{&*writer, &*later}) {
        const auto value = key->QueryValue("name");
        ASSERT_TRUE(value);
        EXPECT_EQ(value->type, regtype::Sz);
        EXPECT_EQ(value->data, Text("second").data);
    }
    EXPECT_FALSE(early->QueryValue("Name")) << "a key reads the store as it was when opened";
    ASSERT_TRUE(early->SetValue("Other", Text("x")));
    EXPECT_TRUE(early->QueryValue("Name")) << "its own write brings it up to date";

    EXPECT_FALSE(writer->SetValue("two\nlines", Text("x")));
    EXPECT_TRUE(DeleteRegistryValue("Software\\Test", "name"));
    EXPECT_FALSE(DeleteRegistryValue("Software\\Test", "Name"));
    EXPECT_FALSE(Open("Software\\Test", false)->QueryValue("Name"));
    EXPECT_TRUE(Open("Software\\Test", false)->QueryValue("Other"));
}

TEST_F(RegistryStore, DeletingAKeyTakesItsSubKeysAndItsOpenHandlesFail)
{
    EXPECT_TRUE(DeleteRegistryKey("Software\\Absent"));
    EXPECT_FALSE(fs::exists(Root() / "config"));

    auto held = Open("Software\\A\\B", true);
    ASSERT_TRUE(held);
    ASSERT_TRUE(Open("Software\\A\\B\\C", true)->SetValue("x", Text("x")));
    ASSERT_TRUE(Open("Software\\A\\BC", true));

    EXPECT_TRUE(DeleteRegistryKey("software\\a\\b"));
    EXPECT_FALSE(Open("Software\\A\\B\\C", false));
    EXPECT_FALSE(Open("Software\\A\\B", false));
    EXPECT_TRUE(Open("Software\\A\\BC", false));
    EXPECT_FALSE(held->SetValue("y", Text("y"))) << "a deleted key takes no values";
    EXPECT_FALSE(Open("Software\\A\\B", false));
    EXPECT_TRUE(DeleteRegistryKey("Software\\A\\B"));
    EXPECT_FALSE(DeleteRegistryKey(""));
    EXPECT_TRUE(Open("Software\\A\\BC", false));
}

TEST_F(RegistryStore, FindsTheFileFromTheEnvironmentAtEachAccess)
{
    ASSERT_TRUE(Open("Software\\Test", true));
    EXPECT_EQ(RegistryStoreFilePath(), StoreFile().string());

    UseConfigHome(Root() / "elsewhere");
    EXPECT_FALSE(Open("Software\\Test", false));

    // A relative XDG_CONFIG_HOME does not count; the home directory's .config is used.
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", (Root() / "home").c_str(), 1);
    UseConfigHome("relative/config");
    EXPECT_EQ(RegistryStoreFilePath(), (Root() / "home/.config/tovelin/registry.reg").string());
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(RegistryStoreFilePath(), (Root() / "home/.config/tovelin/registry.reg").string());
    ::setenv("HOME", oldHome.c_str(), 1);

    UseConfigHome(Root() / "config");
    EXPECT_TRUE(Open("Software\\Test", false));
}

TEST_F(RegistryStore, KeepsTheFileModeAndClearsWhatADeadWriterLeft)
{
    auto key = Open("Software\\Test", true);
    ASSERT_TRUE(key);
    fs::permissions(StoreFile(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteText(StoreDirectory() / "registry.reg.tmp-Ab12Cd", "half a fi");

    ASSERT_TRUE(key->SetValue("x", Text("x")));
    EXPECT_EQ(fs::status(StoreFile()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(DirectoryNames(StoreDirectory()), (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
}

TEST_F(RegistryStore, AnUnreadableStoreFailsAndIsLeftAlone)
{
    // A directory in the file's place cannot be read, even by root.
    fs::create_directories(StoreFile());
    WriteText(StoreFile() / "inside", "keep me");

    EXPECT_FALSE(Open("Software\\Test", true));
    EXPECT_FALSE(Open("Software\\Test", false));
    EXPECT_FALSE(LoadRegistryStore());
    EXPECT_EQ(ReadText(StoreFile() / "inside"), "keep me");
    EXPECT_TRUE(CorruptCopies(StoreDirectory()).empty());
}

TEST_F(RegistryStore, AStoreThatCannotBeCreatedFails)
{
    WriteText(Root() / "plain-file", "x");
    UseConfigHome(Root() / "plain-file" / "config");
    EXPECT_FALSE(Open("Software\\Test", true));
    EXPECT_FALSE(Open("Software\\Test", false));
    EXPECT_FALSE(DeleteRegistryKey("Software\\Test"));
}

TEST_F(RegistryStore, AReadOnlyStoreCanStillBeRead)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
    auto key = Open("Software\\Test", true);
    ASSERT_TRUE(key && key->SetValue("x", Text("x")));
    const std::string before = ReadText(StoreFile());
    fs::remove(StoreDirectory() / "registry.reg.lock");
    fs::permissions(StoreDirectory(), fs::perms::owner_read | fs::perms::owner_exec);

    EXPECT_TRUE(Open("Software\\Test", true)) << "opening an existing key changes nothing";
    ASSERT_TRUE(key->QueryValue("x"));
    EXPECT_FALSE(key->SetValue("x", Text("y")));
    EXPECT_FALSE(Open("Software\\Other", true));
    EXPECT_EQ(ReadText(StoreFile()), before);
}

TEST_F(RegistryStore, ReadersKeepWhatParsesAndTheFirstWriterKeepsTheFileAside)
{
    const std::string corrupt = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Test]\n\"x\"=dword:xyz\n\"y\"=\"kept\"\n\x01\xff";
    WriteText(StoreFile(), corrupt);

    testing::internal::CaptureStderr();
    auto reader = Open("Software\\Test", false);
    const std::string readerTrace = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(reader);
    EXPECT_FALSE(reader->QueryValue("x"));
    EXPECT_EQ(reader->QueryValue("y")->data, Text("kept").data);
    EXPECT_TRUE(Open("Software\\Test", true)) << "an existing key needs no write";
    EXPECT_EQ(ReadText(StoreFile()), corrupt) << "reading alone writes nothing";
    EXPECT_TRUE(CorruptCopies(StoreDirectory()).empty());
    EXPECT_EQ(readerTrace, "");

    testing::internal::CaptureStderr();
    ASSERT_TRUE(reader->SetValue("x", Text("fresh")));
    const std::string trace = testing::internal::GetCapturedStderr();
    auto copies = CorruptCopies(StoreDirectory());
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadText(copies[0]), corrupt);
    EXPECT_EQ(ReadText(StoreFile()), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Test]\n\"y\"=\"kept\"\n\"x\"=\"fresh\"\n\n");
    EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 1) << trace;
    EXPECT_NE(trace.find("settings store " + StoreFile().string() + " has unreadable lines, the first line 4: dword"),
              std::string::npos)
        << trace;
    EXPECT_NE(trace.find("kept as " + copies[0].filename().string()), std::string::npos) << trace;

    // A second bad file in the same second gets a name of its own.
    WriteText(StoreFile(), "garbage");
    testing::internal::CaptureStderr();
    auto key = Open("Software\\Test", true);
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(key && key->SetValue("x", Text("again")));
    copies = CorruptCopies(StoreDirectory());
    ASSERT_EQ(copies.size(), 2u);
    std::vector<std::string> contents{ReadText(copies[0]), ReadText(copies[1])};
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<std::string>{corrupt, "garbage"}));
    EXPECT_FALSE(ParseRegistryFile(ReadText(StoreFile())).error);
}
