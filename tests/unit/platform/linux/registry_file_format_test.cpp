#include "platform/linux/registry_file_format.h"

#include <gtest/gtest.h>

#include "unit/test_support/registry_values.h"

#include <sstream>

using namespace std::string_literals;

namespace {

RegistryValue Bytes(std::uint32_t type, std::string_view data)
{
    return RegistryValue{type, std::vector<std::uint8_t>(data.begin(), data.end())};
}


RegistryDocument Parsed(std::string_view text)
{
    RegistryParseResult result = ParseRegistryFile(text);
    EXPECT_FALSE(result.error) << result.error->Describe();
    return result.document;
}

void ExpectSameDocument(const RegistryDocument& expected, const RegistryDocument& actual)
{
    ASSERT_EQ(expected.Keys().size(), actual.Keys().size());
    for (std::size_t k = 0; k < expected.Keys().size(); ++k) {
        const auto& want = expected.Keys()[k];
        const auto& got = actual.Keys()[k];
        EXPECT_EQ(want.Path(), got.Path());
        ASSERT_EQ(want.Values().size(), got.Values().size()) << want.Path();
        for (std::size_t v = 0; v < want.Values().size(); ++v) {
            EXPECT_EQ(want.Values()[v].name, got.Values()[v].name);
            EXPECT_EQ(want.Values()[v].value.type, got.Values()[v].value.type) << want.Values()[v].name;
            EXPECT_EQ(want.Values()[v].value.data, got.Values()[v].value.data) << want.Values()[v].name;
        }
    }
}

} // namespace

TEST(RegeditFormat, WritesTheCanonicalForm)
{
    RegistryDocument document;
    auto& key = document.EnsureKey("HKEY_CURRENT_USER\\Control Panel\\Screen Saver.Tovelin");
    key.SetValue("PhotoDirectorys", Text("/photos|/music"));
    key.SetValue("ChangeInterval", RegistryValue{regtype::DWord, {0xdc, 0x05, 0, 0}});
    key.SetValue("", Text("default"));
    key.SetValue("Say \"hi\"", Text("C:\\dir\\"));
    key.SetValue("Blob", Bytes(regtype::Binary, "\x01\xff"));
    key.SetValue("Expand", Bytes(regtype::ExpandSz, "%A%\0"s));
    key.SetValue("Empty", Bytes(regtype::Sz, ""));
    document.EnsureKey("HKEY_CURRENT_USER\\Other");

    EXPECT_EQ(FormatRegistryFile(document),
              "REGEDIT4\n"
              "\n"
              "[HKEY_CURRENT_USER\\Control Panel\\Screen Saver.Tovelin]\n"
              "\"PhotoDirectorys\"=\"/photos|/music\"\n"
              "\"ChangeInterval\"=dword:000005dc\n"
              "@=\"default\"\n"
              "\"Say \\\"hi\\\"\"=\"C:\\\\dir\\\\\"\n"
              "\"Blob\"=hex:01,ff\n"
              "\"Expand\"=hex(2):25,41,25,00\n"
              "\"Empty\"=hex(1):\n"
              "\n"
              "[HKEY_CURRENT_USER\\Other]\n"
              "\n");
}

TEST(RegeditFormat, RoundTripsEveryTypeAndHostileData)
{
    RegistryDocument document;
    auto& key = document.EnsureKey("HKEY_CURRENT_USER\\Software\\Test");
    key.SetValue("quotes", Text("\"quoted\" \"\""));
    key.SetValue("backslashes", Text("\\\\server\\share\\"));
    key.SetValue("trailing backslash then quote \\\"", Text("\\"));
    key.SetValue("utf8", Text("Fotos \xc3\xa9t\xc3\xa9 \xe2\x82\xac"));
    key.SetValue("latin1 bytes", Text("caf\xe9"));
    key.SetValue("embedded zero", Bytes(regtype::Sz, "a\0b\0"s));
    key.SetValue("no terminator", Bytes(regtype::Sz, "abc"));
    key.SetValue("line breaks", Text("one\r\ntwo\nthree\r"));
    key.SetValue("tab and blanks", Text("\t lead and trail \t"));
    key.SetValue("control", Text("bell\x07"));
    key.SetValue("empty text", Text(""));
    key.SetValue("dword", RegistryValue{regtype::DWord, {0xff, 0xff, 0xff, 0xff}});
    key.SetValue("short dword", RegistryValue{regtype::DWord, {1, 2}});
    key.SetValue("long dword", RegistryValue{regtype::DWord, {1, 2, 3, 4, 5, 6, 7, 8}});
    key.SetValue("none", Bytes(regtype::None, ""));
    key.SetValue("multi", Bytes(7, "a\0b\0\0"s));
    key.SetValue("odd type", Bytes(0xffffffffu, "x"));
    std::string big;
    for (int i = 0; i < 1000; ++i) big += static_cast<char>(i * 7);
    key.SetValue("big binary", Bytes(regtype::Binary, big));
    key.SetValue(std::string(120, 'n'), Bytes(regtype::Binary, "\x10\x20"));
    document.EnsureKey("HKEY_CURRENT_USER\\Software\\Test\\Sub]key; not a comment");

    const std::string text = FormatRegistryFile(document);
    const RegistryDocument back = Parsed(text);
    ExpectSameDocument(document, back);
    EXPECT_EQ(FormatRegistryFile(back), text);

    // What cannot be one line of quoted text goes out as hex, wrapped to readable lines.
    EXPECT_NE(text.find("\"line breaks\"=hex(1):"), std::string::npos);
    EXPECT_NE(text.find("\"embedded zero\"=hex(1):61,00,62,00\n"), std::string::npos);
    EXPECT_NE(text.find("\"latin1 bytes\"=hex(1):"), std::string::npos);
    EXPECT_NE(text.find("\"utf8\"=\"Fotos"), std::string::npos);
    EXPECT_NE(text.find("\"odd type\"=hex(ffffffff):78\n"), std::string::npos);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("\"nnnn")) continue;
        EXPECT_LE(line.size(), 80u) << line;
    }
}

TEST(RegeditFormat, ReadsHandEditedFiles)
{
    const std::string text = "\xEF\xBB\xBFREGEDIT4\r\n"
                             "; written by hand\r\n"
                             "\r\n"
                             "  [HKEY_CURRENT_USER\\Key]  \r\n"
                             "\"a\" = DWORD:5\r\n"
                             "\"b\"=hex(2):41, 42 ,00,\\\r\n"
                             "     43,\\\r\n"
                             "  44\r\n"
                             "\"\"=\"unnamed\"\r\n"
                             "\t\"c\"=hex:\r\n"
                             "\"d\"=\"x\" \t\r\n";
    const RegistryDocument document = Parsed(text);
    ASSERT_EQ(document.Keys().size(), 1u);
    const auto& key = document.Keys()[0];
    EXPECT_EQ(key.Path(), "HKEY_CURRENT_USER\\Key");
    const auto& values = key.Values();
    ASSERT_EQ(values.size(), 5u);
    EXPECT_EQ(values[0].value.data, (std::vector<std::uint8_t>{5, 0, 0, 0}));
    EXPECT_EQ(values[1].value.type, regtype::ExpandSz);
    EXPECT_EQ(values[1].value.data, (std::vector<std::uint8_t>{'A', 'B', 0, 'C', 'D'}));
    EXPECT_EQ(values[2].name, "");
    EXPECT_EQ(values[3].value.type, regtype::Binary);
    EXPECT_TRUE(values[3].value.data.empty());
    EXPECT_EQ(values[4].value.data, (std::vector<std::uint8_t>{'x', 0}));
}

TEST(RegeditFormat, KeepsUnknownKeysAndValuesInTheirOrder)
{
    const std::string text = "REGEDIT4\n\n"
                             "[HKEY_LOCAL_MACHINE\\Elsewhere]\n"
                             "\"zeta\"=\"1\"\n"
                             "\"alpha\"=dword:00000002\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\B]\n"
                             "\"Unknown\"=hex(7):61,00,00\n"
                             "\n"
                             "[HKEY_CURRENT_USER\\A]\n"
                             "\n";
    EXPECT_EQ(FormatRegistryFile(Parsed(text)), text);
}

TEST(RegeditFormat, MergesRepeatedKeysAndValuesIntoTheirFirstPlace)
{
    const RegistryDocument document = Parsed("REGEDIT4\n"
                                             "[HKEY_CURRENT_USER\\A]\n"
                                             "\"x\"=\"first\"\n"
                                             "\"y\"=\"y\"\n"
                                             "[HKEY_CURRENT_USER\\B]\n"
                                             "[hkey_current_user\\a]\n"
                                             "\"X\"=dword:00000001\n");
    ASSERT_EQ(document.Keys().size(), 2u);
    ASSERT_EQ(document.Keys()[0].Values().size(), 2u);
    EXPECT_EQ(document.Keys()[0].Values()[0].name, "x");
    EXPECT_EQ(document.Keys()[0].Values()[0].value.type, regtype::DWord);
}

TEST(RegeditDocument, LooksUpNamesIgnoringAsciiCaseAndKeepsTheirSpelling)
{
    RegistryDocument document;
    auto& key = document.EnsureKey("HKEY_CURRENT_USER\\Control Panel\\Desktop");
    key.SetValue("ScreenSaveActive", Text("1"));
    key.SetValue("SCREENSAVEACTIVE", Text("0"));
    key.SetValue("\xc3\x89t\xc3\xa9", Text("upper"));
    key.SetValue("\xc3\xa9t\xc3\xa9", Text("lower"));

    ASSERT_EQ(key.Values().size(), 3u) << "only ASCII letters fold";
    EXPECT_EQ(key.Values()[0].name, "ScreenSaveActive");
    EXPECT_EQ(key.Values()[0].value.data, Text("0").data);
    EXPECT_EQ(document.FindKey("hkey_current_user\\CONTROL PANEL\\desktop"), &key);
    EXPECT_EQ(key.FindValue("screensaveactive"), &key.Values()[0].value);
    EXPECT_EQ(key.FindValue("\xc3\xa9T\xc3\xa9")->data, Text("lower").data);
    EXPECT_EQ(key.FindValue("ScreenSaveActiv"), nullptr);
}

TEST(RegeditFormat, ReportsTheFirstFaultWithItsLine)
{
    struct Case {
        std::string text;
        int line;
        std::string reason;
    };
    const std::string head = "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n";
    const Case cases[] = {
        {"", 1, "REGEDIT4"},
        {"Windows Registry Editor Version 5.00\n", 1, "REGEDIT4"},
        {"REGEDIT4\n\"a\"=\"b\"\n", 2, "outside"},
        {head + "\"a\"=\"C:\\Photos\"\n", 4, "escape"},
        {head + "\"a\"=\"open\n\"b\"=\"x\"\n", 4, "closing quote"},
        {head + "\"a=\"x\"\n", 4, "'='"},
        {head + "\"a\"=\"x\"y\n", 4, "after the closing quote"},
        {head + "\"a\"=dword:123456789\n", 4, "dword"},
        {head + "\"a\"=dword:-1\n", 4, "dword"},
        {head + "\"a\"=dword:\n", 4, "dword"},
        {head + "\"a\"=hex:0g\n", 4, "'0g'"},
        {head + "\"a\"=hex:100\n", 4, "'100'"},
        {head + "\"a\"=hex:01,,02\n", 4, "''"},
        {head + "\"a\"=hex(zz):00\n", 4, "hex(N)"},
        {head + "\"a\"=hex(1:00\n", 4, "hex(N)"},
        {head + "\"a\"=00,01\n", 4, "unknown value data"},
        {head + "\"a\"=-\n", 4, "removal"},
        {head + "\"ok\"=dword:1\n\n\"a\"=hex:00,\\\n  01,\\\n  zz\n", 6, "'zz'"},
        {head + "\"a\"=hex:00,\\", 4, "past the end"},
        {head + "[HKEY_CURRENT_USER\\L\n", 4, "']'"},
        {head + "[]\n", 4, "empty key name"},
        {head + "[-HKEY_CURRENT_USER\\K]\n", 4, "removal"},
        {head + "# not a comment\n", 4, "neither"},
        {head + "\"a\"=\"x\"\r\n\"b\"\r\n", 5, "'='"},
    };
    for (const auto& test : cases) {
        const RegistryParseResult result = ParseRegistryFile(test.text);
        ASSERT_TRUE(result.error) << test.text;
        EXPECT_EQ(result.error->line, test.line) << test.text;
        EXPECT_NE(result.error->reason.find(test.reason), std::string::npos) << result.error->reason;
        EXPECT_TRUE(result.error->Describe().starts_with("line " + std::to_string(test.line) + ": "));
    }
}

TEST(RegeditFormat, KeepsEveryLineThatParsesAroundBadOnes)
{
    const RegistryParseResult result = ParseRegistryFile("REGEDIT4\n"
                                                         "[HKEY_CURRENT_USER\\A]\n"
                                                         "\"before\"=dword:1\n"
                                                         "\"typo\"=\"C:\\Photos\"\n"
                                                         "\"bin\"=hex:00,\\\n"
                                                         "  zz\n"
                                                         "\"after\"=\"x\"\n"
                                                         "[HKEY_CURRENT_USER\\Broken\n"
                                                         "\"lost\"=dword:2\n"
                                                         "[HKEY_CURRENT_USER\\B]\n"
                                                         "garbage\n"
                                                         "@=dword:3\n");
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->line, 4) << "the first bad line";
    EXPECT_EQ(FormatRegistryFile(result.document), "REGEDIT4\n\n"
                                                   "[HKEY_CURRENT_USER\\A]\n"
                                                   "\"before\"=dword:00000001\n"
                                                   "\"after\"=\"x\"\n\n"
                                                   "[HKEY_CURRENT_USER\\B]\n"
                                                   "@=dword:00000003\n\n");

    // Without a REGEDIT4 line the rest still counts.
    const RegistryParseResult headless = ParseRegistryFile("[HKEY_CURRENT_USER\\A]\n\"v\"=dword:1\n");
    ASSERT_TRUE(headless.error);
    EXPECT_EQ(headless.error->line, 1);
    EXPECT_TRUE(headless.document.Keys().empty()) << "the first line is taken as the header";
}

TEST(RegeditFormat, FindsAnyOfTwentyThousandValuesByName)
{
    std::string text = "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n";
    for (int i = 0; i < 20000; ++i) text += "\"Value" + std::to_string(i) + "\"=dword:" + std::to_string(i % 10) + "\n";
    const RegistryParseResult result = ParseRegistryFile(text);
    ASSERT_FALSE(result.error);
    const auto& key = result.document.Keys().at(0);
    ASSERT_EQ(key.Values().size(), 20000u);
    EXPECT_EQ(key.FindValue("VALUE19999")->data, (std::vector<std::uint8_t>{9, 0, 0, 0}));
}
