#pragma once
// A directory tree of its own under the system's temporary folder, removed with everything in
// it when the object goes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/program_file.h"

class TemporaryTree {
public:
    TemporaryTree()
    {
        std::random_device random;
        m_Root = std::filesystem::temp_directory_path() /
                 ("tovelin-tree-" + std::to_string(random()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(m_Root);
    }
    ~TemporaryTree()
    {
        std::error_code ignored;
        // A folder made unreadable by a test must be readable again to be removed.
        for (auto it = std::filesystem::recursive_directory_iterator(
                 m_Root, std::filesystem::directory_options::skip_permission_denied, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
            }
        }
        std::filesystem::remove_all(m_Root, ignored);
    }
    TemporaryTree(const TemporaryTree&) = delete;
    TemporaryTree& operator=(const TemporaryTree&) = delete;

    // The root as the program writes paths: native delimiters, no trailing one.
    std::string Root() const { return m_Root.string(); }
    // The program's form of root + relative, relative written with "/".
    std::string Path(const std::string& relative) const { return (m_Root / relative).make_preferred().string(); }
    std::filesystem::path Native(const std::string& relative) const { return m_Root / relative; }

    void Directory(const std::string& relative) const { std::filesystem::create_directories(Native(relative)); }
    // A one-byte file; its folders are made as needed.
    void File(const std::string& relative) const
    {
        const auto path = Native(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary).put('x');
        ASSERT_TRUE(std::filesystem::exists(path)) << path.string();
    }
    // A link to a folder of the tree; false where the system does not allow one.
    bool DirectoryLink(const std::string& relative, const std::string& target) const
    {
        std::error_code failed;
        std::filesystem::create_directory_symlink(Native(target), Native(relative), failed);
        return !failed;
    }

private:
    std::filesystem::path m_Root;
};

// dir + the path delimiter + name, as the scanner builds its paths.
inline std::string JoinPath(const std::string& dir, const std::string& name) { return dir + PathDelimiter() + name; }
