// A whole WAVEFORMATEX as a file carries it: the fixed fields, then the
// extra size and that many extra bytes.
#pragma once

#include "platform/audio_device.h"

#include <cstdint>
#include <vector>

struct WaveFormatRecord {
    WaveFormat format;
    WORD extraSize = 0;
    std::vector<std::uint8_t> extra;
};
