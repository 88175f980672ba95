// The process-wide pseudo-random sequence: a linear congruential generator
// (multiplier 214013, increment 2531011) whose results are bits 16-30 of the
// state, 0..32767. Seed 1 is the state before any seeding.
#pragma once

#include <cstdint>

inline constexpr int kRandomMax = 0x7FFF;

void SeedRandom(std::uint32_t seed);
int NextRandom();
