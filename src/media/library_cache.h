#pragma once
// The photo and music lists that walks found under one directory list, and how far the
// unfinished walk got, kept in the user's cache folder between shows. Only a cache: a file that
// is missing, cut short, damaged, too large or written for other directories counts as none.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "media/string_list.h"

struct RememberedLibrary {
    // The directory list, in its stored form, that the lists were found under.
    std::string directories;
    StringList photos;
    StringList music;
    // The folders walked through to the end on the pass that is not finished yet; empty when the
    // last pass went through every folder.
    StringList walkedFolders;
};

// A larger file is not read: a library of a million photos stays well below it.
inline constexpr std::size_t kLibraryCacheMaxBytes = std::size_t{128} << 20;
inline constexpr const char* kLibraryCacheFileName = "library.cache";

std::string FormatLibrary(std::string_view directories, const StringList& photos, const StringList& music,
                          const StringList& walkedFolders);
// The library that text holds, if text is a whole, well-formed file written for directories.
std::optional<RememberedLibrary> ParseLibrary(std::string_view text, std::string_view directories);

// From the cache folder: the library remembered for directories, or one with empty lists.
RememberedLibrary LoadRememberedLibrary(const std::string& directories);
// Replaces the file in the cache folder; false when nothing was written (the file would be
// too large, or the folder cannot be written).
bool SaveRememberedLibrary(std::string_view directories, const StringList& photos, const StringList& music,
                           const StringList& walkedFolders);
