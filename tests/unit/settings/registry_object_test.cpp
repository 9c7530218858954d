// The reading and writing rules of the registry object, over the OS's own per-user store.
#include "settings/registry_object.h"

#include <gtest/gtest.h>

#include "unit/test_support/isolated_settings.h"
#include "unit/test_support/settings_checks.h"

using namespace std::string_view_literals;

namespace {

constexpr const char* kKey = "Control Panel\\Screen Saver.Tovelin";

using Bytes = std::vector<std::uint8_t>;

Bytes TextBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

} // namespace

class RegistryObjectTest : public IsolatedSettings {
protected:
    // Stores a raw value in the settings key, bypassing the rules under test.
    void Put(const std::string& name, std::uint32_t type, const Bytes& data)
    {
        auto key = RegistryKey::Open(RegistryRoot::CurrentUser, kKey, true);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->SetValue(name, RegistryValue{type, data})) << name;
    }

    std::optional<RegistryValue> Raw(const std::string& path, const std::string& name)
    {
        auto key = RegistryKey::Open(RegistryRoot::CurrentUser, path, false);
        if (!key) return std::nullopt;
        return key->QueryValue(name);
    }

    // A registry object with the settings key open, as the settings operations leave it.
    RegistryObject Opened()
    {
        RegistryObject registry;
        registry.SetRootKey(RegistryRoot::CurrentUser);
        EXPECT_TRUE(registry.OpenKey(std::string("\\") + kKey, true));
        return registry;
    }
};

TEST_F(RegistryObjectTest, ReadsTextUpToTheFirstZeroByte)
{
    Put("Plain", regtype::Sz, TextBytes("C:\\Photos|D:\\M\xfasica\0"sv));
    Put("Expandable", regtype::ExpandSz, TextBytes("%SystemRoot%\\Photos\0"sv));
    Put("TwoTexts", regtype::Sz, TextBytes("first\0second\0"sv));
    Put("Unterminated", regtype::Sz, TextBytes("abc"));
    Put("OnlyZero", regtype::Sz, Bytes{0});
    const RegistryObject registry = Opened();
    EXPECT_EQ(registry.ReadString("Plain"), "C:\\Photos|D:\\M\xfasica");
    EXPECT_EQ(registry.ReadString("Expandable"), "%SystemRoot%\\Photos") << "read as stored, not expanded";
    EXPECT_EQ(registry.ReadString("TwoTexts"), "first");
    EXPECT_EQ(registry.ReadString("Unterminated"), "abc");
    EXPECT_EQ(registry.ReadString("OnlyZero"), "");
}

TEST_F(RegistryObjectTest, AbsentOrEmptyTextIsEmptyWhateverItsType)
{
    Put("EmptyText", regtype::Sz, {});
    Put("EmptyDword", regtype::DWord, {});
    Put("EmptyBinary", regtype::Binary, {});
    const RegistryObject registry = Opened();
    EXPECT_EQ(registry.ReadString("Absent"), "");
    EXPECT_EQ(registry.ReadString("EmptyText"), "");
    EXPECT_EQ(registry.ReadString("EmptyDword"), "");
    EXPECT_EQ(registry.ReadString("EmptyBinary"), "");
    EXPECT_TRUE(registry.ValueExists("EmptyDword")) << "an empty value is still there";
    EXPECT_FALSE(registry.ValueExists("Absent"));
}

TEST_F(RegistryObjectTest, TextOfAnotherTypeIsRefused)
{
    Put("PhotoDirectorys", regtype::DWord, {1, 0, 0, 0});
    Put("Binary", regtype::Binary, TextBytes("abc\0"sv));
    Put("MultiText", 7, TextBytes("a\0b\0\0"sv));
    const RegistryObject registry = Opened();
    EXPECT_EQ(ErrorText([&] { registry.ReadString("PhotoDirectorys"); }), "Invalid data type for 'PhotoDirectorys'");
    EXPECT_EQ(ErrorText([&] { registry.ReadString("Binary"); }), "Invalid data type for 'Binary'");
    EXPECT_EQ(ErrorText([&] { registry.ReadString("MultiText"); }), "Invalid data type for 'MultiText'");
}

TEST_F(RegistryObjectTest, ReadsIntegersOfUpToFourBytes)
{
    Put("Interval", regtype::DWord, {0xdc, 0x05, 0x00, 0x00});
    Put("Negative", regtype::DWord, {0xfe, 0xff, 0xff, 0xff});
    Put("Lowest", regtype::DWord, {0x00, 0x00, 0x00, 0x80});
    Put("TwoBytes", regtype::DWord, {0x34, 0x12});
    Put("OneByte", regtype::DWord, {0xff});
    Put("NoBytes", regtype::DWord, {});
    const RegistryObject registry = Opened();
    EXPECT_EQ(registry.ReadInteger("Interval"), 1500);
    EXPECT_EQ(registry.ReadInteger("Negative"), -2);
    EXPECT_EQ(registry.ReadInteger("Lowest"), INT32_MIN);
    // Shorter data fills the low bytes; the rest reads as zero.
    EXPECT_EQ(registry.ReadInteger("TwoBytes"), 0x1234);
    EXPECT_EQ(registry.ReadInteger("OneByte"), 0xff);
    EXPECT_EQ(registry.ReadInteger("NoBytes"), 0);
}

TEST_F(RegistryObjectTest, IntegerFailuresNameTheValue)
{
    Put("Long", regtype::DWord, {1, 0, 0, 0, 0, 0, 0, 0});
    Put("ChangeInterval", regtype::Binary, {0xdc, 0x05, 0, 0, 0, 0, 0, 0});
    Put("ShortBinary", regtype::Binary, {1, 0, 0, 0});
    Put("ShortText", regtype::Sz, TextBytes("5\0"sv));
    Put("LongText", regtype::Sz, TextBytes("12345\0"sv));
    Put("BigEndian", 5, {0, 0, 0, 1});
    const RegistryObject registry = Opened();
    EXPECT_EQ(ErrorText([&] { registry.ReadInteger("Absent"); }), "Failed to get data for 'Absent'");
    // Data longer than 4 bytes does not fit, whatever its type; the type is checked next.
    EXPECT_EQ(ErrorText([&] { registry.ReadInteger("Long"); }), "Failed to get data for 'Long'");
    EXPECT_EQ(ErrorText([&] { registry.ReadInteger("ChangeInterval"); }), "Failed to get data for 'ChangeInterval'");
    EXPECT_EQ(ErrorText([&] { registry.ReadInteger("LongText"); }), "Failed to get data for 'LongText'");
    EXPECT_EQ(ErrorText([&] { registry.ReadInteger("ShortBinary"); }), "Invalid data type for 'ShortBinary'");
    EXPECT_EQ(ErrorText([&] { registry.ReadInteger("ShortText"); }), "Invalid data type for 'ShortText'");
    EXPECT_EQ(ErrorText([&] { registry.ReadInteger("BigEndian"); }), "Invalid data type for 'BigEndian'");
}

TEST_F(RegistryObjectTest, WritesTextWithItsZeroAndIntegersAsFourBytes)
{
    Put("WasText", regtype::Sz, TextBytes("yes\0"sv));
    RegistryObject registry = Opened();
    registry.WriteString("Text", "C:\\Photos|D:\\More Photos");
    registry.WriteString("Empty", "");
    registry.WriteInteger("Number", -2);
    registry.WriteInteger("WasText", 1);

    const auto text = Raw(kKey, "Text");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->type, regtype::Sz);
    EXPECT_EQ(text->data, TextBytes("C:\\Photos|D:\\More Photos\0"sv));
    const auto empty = Raw(kKey, "Empty");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->type, regtype::Sz);
    EXPECT_EQ(empty->data, Bytes{0});
    const auto number = Raw(kKey, "Number");
    ASSERT_TRUE(number);
    EXPECT_EQ(number->type, regtype::DWord);
    EXPECT_EQ(number->data, (Bytes{0xfe, 0xff, 0xff, 0xff}));
    const auto replaced = Raw(kKey, "WasText");
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced->type, regtype::DWord);
    EXPECT_EQ(replaced->data, (Bytes{1, 0, 0, 0}));

    EXPECT_EQ(registry.ReadString("Text"), "C:\\Photos|D:\\More Photos");
    EXPECT_EQ(registry.ReadInteger("Number"), -2);
}

TEST_F(RegistryObjectTest, PathsWithABackslashStartAtTheRoot)
{
    RegistryObject registry = Opened();
    ASSERT_TRUE(registry.OpenKey("Sub", true));
    registry.WriteInteger("Below", 7);
    ASSERT_TRUE(Raw(std::string(kKey) + "\\Sub", "Below"));
    EXPECT_EQ(Raw(std::string(kKey) + "\\Sub", "Below")->data, (Bytes{7, 0, 0, 0}));

    // Whatever key is open, a leading "\" names the key from the root.
    ASSERT_TRUE(registry.OpenKey(std::string("\\") + kKey, false));
    registry.WriteInteger("Top", 8);
    EXPECT_TRUE(Raw(kKey, "Top"));
    EXPECT_FALSE(Raw(std::string(kKey) + "\\Sub", "Top"));
}

TEST_F(RegistryObjectTest, WithoutAnOpenKeyReadsFailOrAreEmptyAndWritesFail)
{
    RegistryObject registry;
    registry.SetRootKey(RegistryRoot::CurrentUser);
    EXPECT_FALSE(registry.OpenKey(std::string("\\") + kKey + "\\Not There", false));
    EXPECT_FALSE(registry.HasCurrentKey());
    EXPECT_FALSE(Raw(std::string(kKey) + "\\Not There", "x")) << "opening without create made no key";
    EXPECT_FALSE(registry.ValueExists("PhotoDirectorys"));
    EXPECT_EQ(registry.ReadString("PhotoDirectorys"), "");
    EXPECT_EQ(ErrorText([&] { registry.ReadInteger("ScreenSaveUsePassword"); }),
              "Failed to get data for 'ScreenSaveUsePassword'");
    EXPECT_EQ(ErrorText([&] { registry.WriteString("SCRNSAVE.EXE", "C:\\WINDOWS\\SYSTEM32\\TOVELIN.SCR"); }),
              "Failed to set data for 'SCRNSAVE.EXE'");
    EXPECT_EQ(ErrorText([&] { registry.WriteInteger("ChangeInterval", 1000); }),
              "Failed to set data for 'ChangeInterval'");

    // A key that was open and has been closed is no longer written to.
    RegistryObject closed = Opened();
    closed.CloseKey();
    EXPECT_FALSE(closed.HasCurrentKey());
    EXPECT_EQ(ErrorText([&] { closed.WriteString("PhotoDirectorys", ""); }), "Failed to set data for 'PhotoDirectorys'");
    EXPECT_FALSE(Raw(kKey, "PhotoDirectorys"));
}
