#pragma once
// The REGEDIT4 text form of the store: a "REGEDIT4" first line, then one section per key
// ("[HKEY_CURRENT_USER\...]") with its values: "Name"="text", @= for the default value,
// "Name"=dword:0000abcd, and everything else as "Name"=hex(N):xx,xx,... ("hex:" for binary).
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/registry_document.h"

struct RegistryParseError {
    int line = 0; // 1-based
    std::string reason;

    std::string Describe() const; // "line 7: <reason>"
};

struct RegistryParseResult {
    RegistryDocument document;               // every key and value that parsed
    std::optional<RegistryParseError> error; // the first fault found
};

// Accepts blank lines, ";" comment lines, CRLF line ends, a UTF-8 byte order mark and "\"
// continuation lines in hex data. A key or value that appears twice is merged into its first
// place, the later data winning, as an import into the registry would do. A line that does not
// parse is left out, and so are the values below a key line that does not parse.
RegistryParseResult ParseRegistryFile(std::string_view text);

// The whole file. Comments and the spelling of the data are not kept: every value is written in
// its canonical form, so that parsing the result gives back the same document.
std::string FormatRegistryFile(const RegistryDocument& document);

// Names that the text form can carry: no zero byte and no line break.
bool IsStorableRegistryName(std::string_view name);
