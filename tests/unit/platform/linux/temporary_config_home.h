#pragma once
// A fresh XDG_CONFIG_HOME for each test of the per-user store, removed afterwards.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

class TemporaryConfigHome : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = std::filesystem::temp_directory_path() / "tovelin-store-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_Root = pattern;
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) m_OldConfigHome = old;
        UseConfigHome(m_Root / "config");
    }

    void TearDown() override
    {
        if (m_OldConfigHome) {
            ::setenv("XDG_CONFIG_HOME", m_OldConfigHome->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
        // Tests may leave read-only directories behind.
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_Root, ignored)) {
            if (entry.is_directory(ignored)) ::chmod(entry.path().c_str(), 0700);
        }
        std::filesystem::remove_all(m_Root, ignored);
    }

    void UseConfigHome(const std::filesystem::path& path) { ::setenv("XDG_CONFIG_HOME", path.c_str(), 1); }

    const std::filesystem::path& Root() const { return m_Root; }
    std::filesystem::path StoreDirectory() const { return m_Root / "config" / "tovelin"; }
    std::filesystem::path StoreFile() const { return StoreDirectory() / "registry.reg"; }

    static std::string ReadText(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void WriteText(const std::filesystem::path& path, const std::string& text)
    {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

private:
    std::filesystem::path m_Root;
    std::optional<std::string> m_OldConfigHome;
};
