#include "unit/test_support/registry_removal.h"

#include <stdexcept>

#include "platform/win32/windows_header.h"

void RequireDisposableStore()
{
    DWORD marker = 0;
    DWORD size = sizeof marker;
    if (RegGetValueA(HKEY_CURRENT_USER, kDisposableMarkerKey, kDisposableMarkerValue, RRF_RT_REG_DWORD, nullptr,
                     &marker, &size) == ERROR_SUCCESS &&
        marker == 1) {
        return;
    }
    throw std::runtime_error(std::string("refusing to touch HKEY_CURRENT_USER: it is not a test prefix (no value ") +
                             kDisposableMarkerValue + "=1 in HKEY_CURRENT_USER\\" + kDisposableMarkerKey +
                             "); run the tests through scripts/wine-prefix.sh");
}

bool DeleteRegistryValue(const std::string& path, const std::string& name)
{
    RequireDisposableStore();
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    const LONG result = RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool DeleteRegistryKey(const std::string& path)
{
    if (path.empty()) return false;
    RequireDisposableStore();
    const LONG result = RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}
