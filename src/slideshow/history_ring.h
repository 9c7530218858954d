#pragma once
// The rings of the photos and of the tracks already shown: 100 slots of list indices, -1 for a
// slot never written, and a current position that wraps.
#include <array>
#include <cstdint>

#include "app/random_generator.h"

using HistoryRing = std::array<std::int32_t, 100>;

// One step from value within [0, count), wrapping at both ends.
constexpr std::int32_t WrapStep(std::int32_t value, std::int32_t step, std::int32_t count)
{
    const std::int32_t next = value + step;
    if (next < 0) return count - 1;
    if (next >= count) return 0;
    return next;
}

// Back (-1) or forward (+1) through the ring without writing it: the index remembered in the
// new slot, or, in an empty slot, the list neighbour of current.
inline std::int32_t NavigateHistory(const HistoryRing& ring, std::int32_t& position, std::int32_t current,
                                    std::int32_t request, std::int32_t count)
{
    position = WrapStep(position, request, static_cast<std::int32_t>(ring.size()));
    const std::int32_t remembered = ring[static_cast<std::size_t>(position)];
    return remembered != -1 ? remembered : WrapStep(current, request, count);
}

// A new choice takes the slot after the current one.
inline void RecordHistory(HistoryRing& ring, std::int32_t& position, std::int32_t index)
{
    position = WrapStep(position, 1, static_cast<std::int32_t>(ring.size()));
    ring[static_cast<std::size_t>(position)] = index;
}

// The next entry of a list of count entries (count > 0): a pending request (-1 or +1) goes back
// or forward through the ring, otherwise the next in list order or a random draw takes a new
// slot. The request is consumed. Photos and music tracks follow the same rule.
inline std::int32_t ChooseNextIndex(HistoryRing& ring, std::int32_t& position, std::int32_t current,
                                    std::int32_t& request, std::int32_t count, bool inListOrder)
{
    std::int32_t next = 0;
    if (request == -1 || request == +1) {
        next = NavigateHistory(ring, position, current, request, count);
    } else {
        next = inListOrder ? WrapStep(current, 1, count) : RandomDraw() % count;
        RecordHistory(ring, position, next);
    }
    request = 0;
    return next;
}
