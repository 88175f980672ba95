// Filling mixer buffers from a WaveSource, shared by the one-shot and the
// streaming sound.
#pragma once

#include "platform/audio_device.h"

#include <cstdint>

class WaveSource;

// Silence in the source's PCM: 0x80 for 8-bit samples, 0 otherwise (and 0
// without a source).
std::uint8_t SilenceOf(const WaveSource* source);

// Gives a buffer back its lost memory, retrying every 10 ms while the
// device still reports it lost. 1 when it was lost and is back, 0 when it
// was not lost, -1 when restoring failed.
int RestoreIfLost(AudioBuffer& buffer);

// Reads n bytes from the source's current position. When the source ends
// early it is rewound and read on with looping, otherwise the rest becomes
// silence. Returns true when the source ran out (never with looping).
bool FillFromSource(WaveSource* source, bool looping, std::uint8_t* out, DWORD n);

// The whole buffer from the source's first byte (restoring lost memory
// first); without a source, silence. False when it could not be locked.
bool FillWholeBuffer(AudioBuffer& buffer, DWORD size, WaveSource* source, bool looping);
