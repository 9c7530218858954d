#pragma once
// The registry object that every settings operation creates, uses and frees: a root, the
// current open key and the typed reads and writes with their error texts.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/registry.h"

class RegistryObject {
public:
    void SetRootKey(RegistryRoot root) { m_Root = root; }

    // A path starting with "\" is absolute from the root; any other is below the current key.
    // A failed open leaves no current key.
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();
    bool HasCurrentKey() const { return m_CurrentKey.has_value(); }

    // True when the current key has a value of that name, of any type and size.
    bool ValueExists(const std::string& name) const;

    // Absent or zero-length gives ""; a type other than text raises "Invalid data type for '%s'".
    std::string ReadString(const std::string& name) const;
    // Absent, unreadable or over 4 bytes raises "Failed to get data for '%s'"; a type other
    // than REG_DWORD raises "Invalid data type for '%s'".
    std::int32_t ReadInteger(const std::string& name) const;

    // A refused write raises "Failed to set data for '%s'".
    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, std::int32_t value);

private:
    void WriteValue(const std::string& name, const RegistryValue& value);

    RegistryRoot m_Root = RegistryRoot::CurrentUser;
    std::optional<RegistryKey> m_CurrentKey;
    std::string m_CurrentPath;
};
