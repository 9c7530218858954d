#include "app/random_generator.h"

#include <ctime>

namespace {
std::uint32_t g_RandomState = 0;
}

void Randomize()
{
    SetRandomSeed(static_cast<std::uint32_t>(std::time(nullptr)));
}

void SetRandomSeed(std::uint32_t seed)
{
    g_RandomState = seed;
}

int RandomDraw()
{
    g_RandomState = g_RandomState * 22695477u + 1u;
    return static_cast<int>((g_RandomState >> 16) & 0x7FFF);
}
