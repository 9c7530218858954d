#pragma once
// Which paths a string list already holds, found in constant time: an open-addressing table of
// list indices, so that a path's bytes are stored once, in the list, and each entry costs the
// table a few bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "media/string_list.h"

class PathSet {
public:
    // The set reads list, which must outlive it; nothing is indexed yet.
    explicit PathSet(const StringList& list) : m_List(list) {}

    // Indexes the list's entries before count that are not indexed yet; a path already in the set
    // is not indexed twice.
    void IndexUpTo(std::size_t count);
    bool Contains(std::string_view path) const;
    // The number of distinct paths indexed.
    std::size_t Size() const { return m_Size; }

private:
    std::size_t Slot(std::string_view path) const;
    void Grow();

    const StringList& m_List;
    // Each slot holds a list index plus one; 0 marks a free slot. The size is a power of two.
    std::vector<std::uint32_t> m_Slots;
    std::size_t m_Size = 0;
    std::size_t m_Indexed = 0;
};
