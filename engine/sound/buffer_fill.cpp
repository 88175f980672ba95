#include "buffer_fill.h"

#include "wave_source.h"

#include <algorithm>
#include <chrono>
#include <thread>

std::uint8_t SilenceOf(const WaveSource* source) {
    return source != nullptr && source->PcmFormat().bitsPerSample == 8 ? 0x80 : 0;
}

int RestoreIfLost(AudioBuffer& buffer) {
    DWORD status = 0;
    if (buffer.GetStatus(&status) != AudioResult::Ok || (status & DSBSTATUS_BUFFERLOST) == 0) {
        return 0;
    }
    for (;;) {
        AudioResult result = buffer.Restore();
        if (result == AudioResult::Ok) {
            return 1;
        }
        if (result != AudioResult::BufferLost) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool FillFromSource(WaveSource* source, bool looping, std::uint8_t* out, DWORD n) {
    DWORD filled = 0;
    bool ranOut = false;
    if (source != nullptr) {
        filled = source->Read(out, n);
        while (filled < n && looping) {
            source->Rewind();
            DWORD got = source->Read(out + filled, n - filled);
            if (got == 0) {
                break; // an empty source would loop for ever
            }
            filled += got;
        }
        ranOut = filled < n && !looping;
    }
    std::fill(out + filled, out + n, SilenceOf(source));
    return ranOut;
}

bool FillWholeBuffer(AudioBuffer& buffer, DWORD size, WaveSource* source, bool looping) {
    if (RestoreIfLost(buffer) < 0) {
        return false;
    }
    LockedRegion region;
    if (buffer.Lock(0, size, &region) != AudioResult::Ok) {
        return false;
    }
    if (source != nullptr) {
        source->Rewind();
    }
    FillFromSource(source, looping, region.first, region.firstBytes);
    buffer.Unlock(region);
    return true;
}
