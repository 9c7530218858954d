#pragma once
// The entries of one directory in the order the OS returns them, and the directory's identity,
// so that a walk can tell when a link leads back into a directory it is already inside.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct DirectoryEntry {
    std::string name;         // the name's bytes as the OS returns them, valid text or not
    bool isDirectory = false; // a link to a directory counts as a directory
};

// The same directory has the same identity whatever path reached it.
struct DirectoryIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    friend bool operator==(const DirectoryIdentity&, const DirectoryIdentity&) = default;
};

class DirectoryListing {
public:
    virtual ~DirectoryListing() = default;
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;

    // The next entry, "." and ".." left out; false at the end or when the OS stops answering.
    virtual bool Next(DirectoryEntry& entry) = 0;
    // None when the OS does not tell.
    virtual std::optional<DirectoryIdentity> Identity() const = 0;

protected:
    DirectoryListing() = default;
};

// Opens the directory whose path, without its final delimiter, is directory: its entries are
// those of directory + PathDelimiter() + "*", so "" is the root on Linux and "C:" the root of
// drive C on Windows. Null when it cannot be listed.
std::unique_ptr<DirectoryListing> OpenDirectoryListing(const std::string& directory);
