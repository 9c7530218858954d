#include "media/path_set.h"

#include <functional>
#include <limits>
#include <stdexcept>

namespace {
constexpr std::size_t kFirstSlots = 64;
}

std::size_t PathSet::Slot(std::string_view path) const
{
    const std::size_t mask = m_Slots.size() - 1;
    std::size_t slot = std::hash<std::string_view>{}(path) & mask;
    while (m_Slots[slot] != 0 && m_List[m_Slots[slot] - 1] != path) slot = (slot + 1) & mask;
    return slot;
}

bool PathSet::Contains(std::string_view path) const
{
    return !m_Slots.empty() && m_Slots[Slot(path)] != 0;
}

void PathSet::Grow()
{
    std::vector<std::uint32_t> old(m_Slots.empty() ? kFirstSlots : m_Slots.size() * 2, 0);
    old.swap(m_Slots);
    for (const std::uint32_t entry : old) {
        if (entry != 0) m_Slots[Slot(m_List[entry - 1])] = entry;
    }
}

void PathSet::IndexUpTo(std::size_t count)
{
    if (count > m_List.size()) count = m_List.size();
    if (count >= std::numeric_limits<std::uint32_t>::max()) throw std::length_error("too many paths to index");
    for (; m_Indexed < count; ++m_Indexed) {
        // At most half full, so that a probe stays short.
        if ((m_Size + 1) * 2 > m_Slots.size()) Grow();
        const std::size_t slot = Slot(m_List[m_Indexed]);
        if (m_Slots[slot] != 0) continue;
        m_Slots[slot] = static_cast<std::uint32_t>(m_Indexed + 1);
        ++m_Size;
    }
}
