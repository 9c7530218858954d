#include "unit/test_support/registry_removal.h"

#include "platform/win32/windows_header.h"

bool DeleteRegistryValue(const std::string& path, const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    const LONG result = RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool DeleteRegistryKey(const std::string& path)
{
    if (path.empty()) return false;
    const LONG result = RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}
