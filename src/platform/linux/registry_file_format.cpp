#include "platform/linux/registry_file_format.h"

#include <cstdint>
#include <vector>

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Hex lines are wrapped so that no line, with its trailing "\", is wider than this.
constexpr std::size_t kMaxLineWidth = 80;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

// Parses 1 to maxDigits hex digits making up the whole of text.
std::optional<std::uint32_t> ParseHexNumber(std::string_view text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    std::uint32_t number = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        number = number * 16 + static_cast<std::uint32_t>(digit);
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
    std::size_t pos = 1; // past the opening quote
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == '"') {
            text.remove_prefix(pos);
            return result;
        }
        if (c == '\\') {
            if (pos == text.size()) break;
            const char escaped = text[pos++];
            if (escaped != '\\' && escaped != '"') {
                throw ParseFailure{std::string("unknown escape \\") + escaped + " in quoted text"};
            }
            result += escaped;
        } else {
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
        RegistryParseResult result;
        try {
            if (m_Text.substr(0, kByteOrderMark.size()) == kByteOrderMark) m_Text.remove_prefix(kByteOrderMark.size());
            if (!NextLine() || TrimBlanks(m_Line) != kHeader) {
                m_LineNumber = 1;
                throw ParseFailure{"the first line is not REGEDIT4"};
            }
            RegistryDocumentKey* key = nullptr;
            while (NextLine()) {
                const std::string_view line = TrimBlanks(m_Line);
                if (line.empty() || line.front() == ';') continue;
                if (line.front() == '[') {
                    key = &result.document.EnsureKey(ParseSection(line));
                } else if (line.front() == '"' || line.front() == '@') {
                    if (!key) throw ParseFailure{"value outside of any key"};
                    ParseValueLine(line, *key);
                } else {
                    throw ParseFailure{"neither a key, a value nor a comment"};
                }
            }
        } catch (const ParseFailure& failure) {
            result.document = {};
            result.error = RegistryParseError{m_LineNumber, failure.reason};
        }
        return result;
    }

private:
    bool NextLine()
    {
        if (m_Position > m_Text.size()) return false;
        std::size_t end = m_Text.find('\n', m_Position);
        if (end == std::string_view::npos) end = m_Text.size();
        m_Line = m_Text.substr(m_Position, end - m_Position);
        if (!m_Line.empty() && m_Line.back() == '\r') m_Line.remove_suffix(1);
        m_Position = end + 1;
        ++m_LineNumber;
        return true;
    }

    static std::string ParseSection(std::string_view line)
    {
        if (line.back() != ']') throw ParseFailure{"key name without a closing ']'"};
        const std::string_view path = line.substr(1, line.size() - 2);
        if (path.empty()) throw ParseFailure{"empty key name"};
        if (path.front() == '-') throw ParseFailure{"key removal entries are not supported"};
        return std::string(path);
    }

    void ParseValueLine(std::string_view line, RegistryDocumentKey& key)
    {
        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else {
            name = ParseQuoted(line);
        }
        line = TrimBlanks(line);
        if (line.empty() || line.front() != '=') throw ParseFailure{"'=' expected after the value name"};
        line = TrimBlanks(line.substr(1));

        const int firstLine = m_LineNumber;
        std::string joined;
        if (StartsWithIgnoreCase(line, "hex")) {
            joined = line;
            while (!joined.empty() && joined.back() == '\\') {
                joined.pop_back();
                if (!NextLine()) throw ParseFailure{"'\\' continues past the end of the file"};
                joined += TrimBlanks(m_Line);
            }
            line = joined;
        }
        // A fault in the data is reported on the line where the value starts.
        try {
            key.SetValue(name, ParseData(line));
        } catch (const ParseFailure&) {
            m_LineNumber = firstLine;
            throw;
        }
    }

    std::string_view m_Text;
    std::size_t m_Position = 0;
    std::string_view m_Line;
    int m_LineNumber = 0;
};

// Whether bytes are well-formed UTF-8, so that a text stays readable in an editor.
bool IsValidUtf8(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        std::size_t length;
        std::uint32_t code;
        if (lead < 0x80) {
            ++pos;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (pos + length > text.size()) return false;
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[pos + i]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
        pos += length;
    }
    return true;
}

// A REG_SZ whose data is one zero-terminated line of readable text can be written in quotes and
// reads back as the same bytes; anything else goes out as hex.
bool IsQuotable(const RegistryValue& value)
{
    if (value.type != regtype::Sz || value.data.empty() || value.data.back() != 0) return false;
    const std::string_view text(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F) return false;
    }
    return IsValidUtf8(text);
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

void AppendHex(std::string& out, std::uint32_t number, int minDigits)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    char buffer[8];
    int count = 0;
    do {
        buffer[count++] = kDigits[number & 0xF];
        number >>= 4;
    } while (number != 0 || count < minDigits);
    while (count > 0) out += buffer[--count];
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
    if (IsQuotable(value)) {
        AppendQuoted(out, std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1));
    } else if (value.type == regtype::DWord && value.data.size() == 4) {
        out += "dword:";
        AppendHex(out, static_cast<std::uint32_t>(value.data[0]) | static_cast<std::uint32_t>(value.data[1]) << 8 |
                           static_cast<std::uint32_t>(value.data[2]) << 16 |
                           static_cast<std::uint32_t>(value.data[3]) << 24,
                  8);
    } else {
        if (value.type == regtype::Binary) {
            out += "hex:";
        } else {
            out += "hex(";
            AppendHex(out, value.type, 1);
            out += "):";
        }
        std::size_t column = out.size() - lineStart;
        for (std::size_t i = 0; i < value.data.size(); ++i) {
            // "xx," and the continuation mark must still fit on the line.
            if (column + 4 > kMaxLineWidth) {
                out += "\\\n  ";
                column = 2;
            }
            AppendHex(out, value.data[i], 2);
            column += 2;
            if (i + 1 < value.data.size()) {
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
    for (const auto& key : document.keys) {
        out += '[';
        out += key.path;
        out += "]\n";
        for (const auto& value : key.values) AppendValue(out, value);
        out += '\n';
    }
    return out;
}

bool IsStorableRegistryName(std::string_view name)
{
    return name.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
}
