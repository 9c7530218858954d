#pragma once
// Raw access to the per-user registry: the real registry on Windows, the REGEDIT4 store file
// on Linux. The reading rules and error texts live above this, in the settings subsystem.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

enum class RegistryRoot { CurrentUser };

// Registry value types, with the Win32 numbers.
namespace regtype {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t Sz = 1;
constexpr std::uint32_t ExpandSz = 2;
constexpr std::uint32_t Binary = 3;
constexpr std::uint32_t DWord = 4;
} // namespace regtype

struct RegistryValue {
    std::uint32_t type = regtype::None;
    std::vector<std::uint8_t> data;
};

// One open key. Move-only; the key is closed when the object goes.
class RegistryKey {
public:
    // Opens (or, with create, creates) the key at path below root. The path has no leading
    // "\" and uses "\" between key names. Returns nothing when the key cannot be opened.
    static std::optional<RegistryKey> Open(RegistryRoot root, const std::string& path, bool create);

    RegistryKey(RegistryKey&&) noexcept;
    RegistryKey& operator=(RegistryKey&&) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey();

    // The value's type and whole data; nothing when there is no such value or it cannot be read.
    std::optional<RegistryValue> QueryValue(const std::string& name) const;
    // Creates or replaces a value. False when the registry refuses.
    bool SetValue(const std::string& name, const RegistryValue& value);

    struct Impl;

private:
    explicit RegistryKey(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_Impl;
};
