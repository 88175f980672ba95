#include "process_random.h"

namespace {
std::uint32_t g_state = 1;
}

void SeedRandom(std::uint32_t seed) {
    g_state = seed;
}

int NextRandom() {
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFF);
}
