#pragma once
// Removals that only tests make (the program itself never removes settings), done per OS
// straight on the store: an edit of the store file on Linux, the registry API on Windows.
#include <string>

// Throws, having touched nothing, unless the per-user store is one that tests may wipe: on
// Windows a Wine prefix that scripts/wine-prefix.sh has prepared and marked with the value
// below; on Linux a store below the temporary directory, where the test fixtures make theirs.
// Run anywhere else (a developer's own account), the tests would wipe that user's settings.
void RequireDisposableStore();
inline constexpr const char* kDisposableMarkerKey = "Software\\Tovelin Tests";
inline constexpr const char* kDisposableMarkerValue = "DisposableProfile";

// Both removals require a disposable store first.
// Removes one value of the key at path below HKEY_CURRENT_USER; false when it was absent.
bool DeleteRegistryValue(const std::string& path, const std::string& name);
// Removes the key with its values and sub-keys; true when it is gone afterwards. The whole of
// HKEY_CURRENT_USER (an empty path) is never removed.
bool DeleteRegistryKey(const std::string& path);
