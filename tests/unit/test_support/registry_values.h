#pragma once
// Registry values as the tests write them.
#include <string_view>

#include "platform/registry.h"

// A REG_SZ value: the text and its terminating zero.
inline RegistryValue Text(std::string_view text)
{
    RegistryValue value{regtype::Sz, std::vector<std::uint8_t>(text.begin(), text.end())};
    value.data.push_back(0);
    return value;
}
