#pragma once
// The program's one pseudo-random generator, shared by the photo, transition and music choices.
// UI thread only.
#include <cstdint>

// Seeds the generator with the current calendar time in seconds.
void Randomize();
void SetRandomSeed(std::uint32_t seed);
// One draw, 0 to 32767: the state becomes state x 22695477 + 1 (mod 2^32), the draw is its
// bits 16 to 30.
int RandomDraw();
