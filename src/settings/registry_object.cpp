#include "settings/registry_object.h"

#include "gfx/error.h"
#include "platform/text.h"

namespace {

[[noreturn]] void RaiseFor(const char* pattern, const std::string& name)
{
    throw Error(FormatMessageText(pattern, name));
}

constexpr const char* kFailedToGet = "Failed to get data for '%s'";
constexpr const char* kInvalidType = "Invalid data type for '%s'";
constexpr const char* kFailedToSet = "Failed to set data for '%s'";

} // namespace

bool RegistryObject::OpenKey(const std::string& key, bool canCreate)
{
    std::string path;
    if (!key.empty() && key.front() == '\\') {
        path = key.substr(1);
    } else if (m_CurrentKey && !m_CurrentPath.empty()) {
        path = key.empty() ? m_CurrentPath : m_CurrentPath + "\\" + key;
    } else {
        path = key;
    }
    CloseKey();
    m_CurrentKey = RegistryKey::Open(m_Root, path, canCreate);
    if (m_CurrentKey) m_CurrentPath = path;
    return m_CurrentKey.has_value();
}

void RegistryObject::CloseKey()
{
    m_CurrentKey.reset();
    m_CurrentPath.clear();
}

bool RegistryObject::ValueExists(const std::string& name) const
{
    return m_CurrentKey && m_CurrentKey->QueryValue(name).has_value();
}

std::string RegistryObject::ReadString(const std::string& name) const
{
    if (!m_CurrentKey) return {};
    const auto value = m_CurrentKey->QueryValue(name);
    if (!value || value->data.empty()) return {};
    if (value->type != regtype::Sz && value->type != regtype::ExpandSz) RaiseFor(kInvalidType, name);
    std::string text(value->data.begin(), value->data.end());
    const auto zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);
    return text;
}

std::int32_t RegistryObject::ReadInteger(const std::string& name) const
{
    if (!m_CurrentKey) RaiseFor(kFailedToGet, name);
    const auto value = m_CurrentKey->QueryValue(name);
    // The data is read into a 4-byte buffer: anything longer does not fit.
    if (!value || value->data.size() > 4) RaiseFor(kFailedToGet, name);
    if (value->type != regtype::DWord) RaiseFor(kInvalidType, name);
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < value->data.size(); ++i) {
        bits |= static_cast<std::uint32_t>(value->data[i]) << (8 * i);
    }
    return static_cast<std::int32_t>(bits);
}

void RegistryObject::WriteString(const std::string& name, const std::string& value)
{
    RegistryValue raw{regtype::Sz, std::vector<std::uint8_t>(value.begin(), value.end())};
    raw.data.push_back(0);
    WriteValue(name, raw);
}

void RegistryObject::WriteInteger(const std::string& name, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    RegistryValue raw{regtype::DWord,
                      {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                       static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)}};
    WriteValue(name, raw);
}

void RegistryObject::WriteValue(const std::string& name, const RegistryValue& value)
{
    if (!m_CurrentKey || !m_CurrentKey->SetValue(name, value)) RaiseFor(kFailedToSet, name);
}
