#include "platform/registry.h"
#include "platform/win32/windows_header.h"

struct RegistryKey::Impl {
    HKEY key = nullptr;
    ~Impl()
    {
        if (key) RegCloseKey(key);
    }
};

namespace {

HKEY RootHandle(RegistryRoot) { return HKEY_CURRENT_USER; }

} // namespace

std::optional<RegistryKey> RegistryKey::Open(RegistryRoot root, const std::string& path, bool create)
{
    auto impl = std::make_unique<Impl>();
    LONG result;
    if (create) {
        result = RegCreateKeyExA(RootHandle(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, &impl->key, nullptr);
    } else {
        result = RegOpenKeyExA(RootHandle(root), path.c_str(), 0, KEY_ALL_ACCESS, &impl->key);
    }
    if (result != ERROR_SUCCESS) return std::nullopt;
    return RegistryKey(std::move(impl));
}

RegistryKey::RegistryKey(std::unique_ptr<Impl> impl) : m_Impl(std::move(impl)) {}
RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&&) noexcept = default;
RegistryKey::~RegistryKey() = default;

std::optional<RegistryValue> RegistryKey::QueryValue(const std::string& name) const
{
    // Another program may change the value between the size query and the read: ask again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(m_Impl->key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        RegistryValue value;
        value.data.resize(size);
        const LONG result = size == 0 ? ERROR_SUCCESS
                                      : RegQueryValueExA(m_Impl->key, name.c_str(), nullptr, &type,
                                                         value.data.data(), &size);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) return std::nullopt;
        value.type = type;
        value.data.resize(size);
        return value;
    }
    return std::nullopt;
}

bool RegistryKey::SetValue(const std::string& name, const RegistryValue& value)
{
    return RegSetValueExA(m_Impl->key, name.c_str(), 0, value.type, value.data.data(),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}
