#include "platform/linux/registry_file_format.h"

#include <glib.h>

#include <charconv>
#include <cstdint>
#include <vector>

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Hex lines are wrapped so that no line, with its trailing "\", is wider than this.
constexpr std::size_t kMaxLineWidth = 80;

std::string_view TrimBlanks(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

// 1 to maxDigits hex digits making up the whole of text.
std::optional<std::uint32_t> ParseHexNumber(std::string_view text, std::size_t maxDigits)
{
    std::uint32_t number = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text.size() > maxDigits || std::from_chars(text.data(), end, number, 16).ptr != end) {
        return std::nullopt;
    }
    return number;
}

struct ParseFailure {
    std::string reason;
};

// Reads "..." at the start of text, undoing the \\ and \" escapes; text is left after the
// closing quote.
std::string ParseQuoted(std::string_view& text)
{
    std::string result;
    for (std::size_t pos = 1; pos < text.size();) {
        const char c = text[pos++];
        if (c == '"') {
            text.remove_prefix(pos);
            return result;
        }
        if (c == '\\' && pos < text.size()) {
            const char escaped = text[pos++];
            if (escaped != '\\' && escaped != '"') {
                throw ParseFailure{std::string("unknown escape \\") + escaped + " in quoted text"};
            }
            result += escaped;
        } else if (c != '\\') {
            result += c;
        }
    }
    throw ParseFailure{"quoted text without a closing quote"};
}

std::vector<std::uint8_t> ParseHexBytes(std::string_view list)
{
    std::vector<std::uint8_t> bytes;
    list = TrimBlanks(list);
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view item = TrimBlanks(list.substr(0, comma));
        const auto byte = ParseHexNumber(item, 2);
        if (!byte) throw ParseFailure{"'" + std::string(item) + "' is not a hex byte"};
        bytes.push_back(static_cast<std::uint8_t>(*byte));
        if (comma == std::string_view::npos) break;
        list = TrimBlanks(list.substr(comma + 1)); // a comma may end the list
    }
    return bytes;
}

RegistryValue ParseData(std::string_view data)
{
    if (!data.empty() && data.front() == '"') {
        std::string text = ParseQuoted(data);
        if (!TrimBlanks(data).empty()) throw ParseFailure{"text after the closing quote"};
        RegistryValue value{regtype::Sz, std::vector<std::uint8_t>(text.begin(), text.end())};
        value.data.push_back(0);
        return value;
    }
    if (StartsWithIgnoreCase(data, "dword:")) {
        const auto number = ParseHexNumber(TrimBlanks(data.substr(6)), 8);
        if (!number) throw ParseFailure{"dword data needs 1 to 8 hex digits"};
        return RegistryValue{regtype::DWord,
                             {static_cast<std::uint8_t>(*number), static_cast<std::uint8_t>(*number >> 8),
                              static_cast<std::uint8_t>(*number >> 16), static_cast<std::uint8_t>(*number >> 24)}};
    }
    if (StartsWithIgnoreCase(data, "hex:")) return RegistryValue{regtype::Binary, ParseHexBytes(data.substr(4))};
    if (StartsWithIgnoreCase(data, "hex(")) {
        const std::size_t close = data.find("):");
        const auto type = close == std::string_view::npos ? std::nullopt : ParseHexNumber(data.substr(4, close - 4), 8);
        if (!type) throw ParseFailure{"hex(N): needs a hex type number"};
        return RegistryValue{*type, ParseHexBytes(data.substr(close + 2))};
    }
    if (data == "-") throw ParseFailure{"value removal entries are not supported"};
    throw ParseFailure{"unknown value data"};
}

class Parser {
public:
    explicit Parser(std::string_view text) : m_Text(text) {}

    RegistryParseResult Run()
    {
        if (m_Text.starts_with(kByteOrderMark)) m_Text.remove_prefix(kByteOrderMark.size());
        if (!NextLine() || TrimBlanks(m_Line) != kHeader) Fault(m_LineNumber, "the first line is not REGEDIT4");
        // Values below a key line that does not parse have no key to go to.
        RegistryDocumentKey* key = nullptr;
        while (NextLine()) {
            const std::string_view line = TrimBlanks(m_Line);
            const int lineNumber = m_LineNumber;
            if (line.empty() || line.front() == ';') continue;
            try {
                if (line.front() == '[') {
                    key = nullptr;
                    key = &m_Result.document.EnsureKey(ParseSection(line));
                } else if (line.front() == '"' || line.front() == '@') {
                    if (!key) throw ParseFailure{"value outside of any key"};
                    ParseValue(line, *key);
                } else {
                    throw ParseFailure{"neither a key, a value nor a comment"};
                }
            } catch (const ParseFailure& failure) {
                Fault(lineNumber, failure.reason);
            }
        }
        return std::move(m_Result);
    }

private:
    bool NextLine()
    {
        if (m_Position > m_Text.size()) return false;
        std::size_t end = m_Text.find('\n', m_Position);
        if (end == std::string_view::npos) end = m_Text.size();
        m_Line = m_Text.substr(m_Position, end - m_Position);
        if (m_Line.ends_with('\r')) m_Line.remove_suffix(1);
        m_Position = end + 1;
        ++m_LineNumber;
        return true;
    }

    void Fault(int line, std::string reason)
    {
        if (!m_Result.error) m_Result.error = RegistryParseError{line, std::move(reason)};
    }

    static std::string ParseSection(std::string_view line)
    {
        if (line.back() != ']') throw ParseFailure{"key name without a closing ']'"};
        const std::string_view path = line.substr(1, line.size() - 2);
        if (path.empty()) throw ParseFailure{"empty key name"};
        if (path.front() == '-') throw ParseFailure{"key removal entries are not supported"};
        return std::string(path);
    }

    void ParseValue(std::string_view line, RegistryDocumentKey& key)
    {
        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else {
            name = ParseQuoted(line);
        }
        line = TrimBlanks(line);
        if (line.empty() || line.front() != '=') throw ParseFailure{"'=' expected after the value name"};
        std::string data(TrimBlanks(line.substr(1)));
        while (StartsWithIgnoreCase(data, "hex") && data.ends_with('\\')) {
            data.pop_back();
            if (!NextLine()) throw ParseFailure{"'\\' continues past the end of the file"};
            data += TrimBlanks(m_Line);
        }
        key.SetValue(name, ParseData(data));
    }

    std::string_view m_Text;
    std::size_t m_Position = 0;
    std::string_view m_Line;
    int m_LineNumber = 0;
    RegistryParseResult m_Result;
};

// A REG_SZ whose data is one zero-terminated line of readable UTF-8 text can be written in quotes
// and reads back as the same bytes; anything else goes out as hex.
bool IsQuotable(const RegistryValue& value)
{
    if (value.type != regtype::Sz || value.data.empty() || value.data.back() != 0) return false;
    const std::string_view text(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F) return false;
    }
    return g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
}

void AppendQuoted(std::string& out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
}

void AppendHex(std::string& out, std::uint32_t number, std::size_t minDigits)
{
    char buffer[8];
    const std::size_t digits = static_cast<std::size_t>(std::to_chars(buffer, buffer + 8, number, 16).ptr - buffer);
    if (digits < minDigits) out.append(minDigits - digits, '0');
    out.append(buffer, digits);
}

void AppendValue(std::string& out, const RegistryNamedValue& entry)
{
    const std::size_t lineStart = out.size();
    if (entry.name.empty()) {
        out += '@';
    } else {
        AppendQuoted(out, entry.name);
    }
    out += '=';
    const RegistryValue& value = entry.value;
    const auto& data = value.data;
    if (IsQuotable(value)) {
        AppendQuoted(out, std::string_view(reinterpret_cast<const char*>(data.data()), data.size() - 1));
    } else if (value.type == regtype::DWord && data.size() == 4) {
        out += "dword:";
        AppendHex(out, data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24, 8);
    } else {
        if (value.type == regtype::Binary) {
            out += "hex:";
        } else {
            out += "hex(";
            AppendHex(out, value.type, 1);
            out += "):";
        }
        std::size_t column = out.size() - lineStart;
        for (std::size_t i = 0; i < data.size(); ++i) {
            // "xx," and the continuation mark must still fit on the line.
            if (column + 4 > kMaxLineWidth) {
                out += "\\\n  ";
                column = 2;
            }
            AppendHex(out, data[i], 2);
            column += 2;
            if (i + 1 < data.size()) {
                out += ',';
                ++column;
            }
        }
    }
    out += '\n';
}

} // namespace

std::string RegistryParseError::Describe() const { return "line " + std::to_string(line) + ": " + reason; }

RegistryParseResult ParseRegistryFile(std::string_view text) { return Parser(text).Run(); }

std::string FormatRegistryFile(const RegistryDocument& document)
{
    std::string out(kHeader);
    out += "\n\n";
    for (const auto& key : document.Keys()) {
        out += '[';
        out += key.Path();
        out += "]\n";
        for (const auto& value : key.Values()) AppendValue(out, value);
        out += '\n';
    }
    return out;
}

bool IsStorableRegistryName(std::string_view name)
{
    return name.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
}
