// The Blowfish cipher's initial state, before any key is mixed in.
#pragma once

#include <cstdint>

extern const std::uint32_t kBlowfishInitialP[18];
extern const std::uint32_t kBlowfishInitialS[4][256];
