// The platform's audio device: a software mixer of PCM buffers in the shape
// of a secondary-buffer sound API (create, lock/unlock, play once or looped,
// status, play cursor, volume, notification positions), plus the one
// process-wide voice that plays whole sounds from memory. Formats, flags and
// volume units keep their Win32 meaning.
#pragma once

#include "win32_types.h"

#include <cstdint>
#include <memory>
#include <span>

// WAVEFORMATEX without its trailing extra bytes.
struct WaveFormat {
    WORD formatTag = 0;
    WORD channels = 0;
    DWORD samplesPerSec = 0;
    DWORD avgBytesPerSec = 0;
    WORD blockAlign = 0;
    WORD bitsPerSample = 0;
    friend bool operator==(const WaveFormat&, const WaveFormat&) = default;
};

inline constexpr WORD WAVE_FORMAT_PCM = 1;

// Integer PCM the mixer can play: 8 or 16 bits, mono or stereo, a rate, and
// the block size and byte rate those imply.
bool IsPlayablePcm(const WaveFormat& format);
WaveFormat MakePcmFormat(WORD channels, DWORD samplesPerSec, WORD bitsPerSample);

// Buffer capabilities. The mixer mixes every buffer in software and always
// offers volume, notifications and a precise cursor; the flags are recorded.
inline constexpr DWORD DSBCAPS_LOCSOFTWARE = 0x00000008;
inline constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;
inline constexpr DWORD DSBCAPS_CTRLPOSITIONNOTIFY = 0x00000100;
inline constexpr DWORD DSBCAPS_GLOBALFOCUS = 0x00008000;
inline constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;
inline constexpr DWORD DSBSIZE_MIN = 4;
inline constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;

inline constexpr DWORD DSBPLAY_LOOPING = 0x00000001;
inline constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
inline constexpr DWORD DSBSTATUS_BUFFERLOST = 0x00000002;
inline constexpr DWORD DSBSTATUS_LOOPING = 0x00000004;

// Attenuation in hundredths of a decibel.
inline constexpr LONG DSBVOLUME_MIN = -10000;
inline constexpr LONG DSBVOLUME_MAX = 0;

// PlaySoundW options.
inline constexpr DWORD SND_SYNC = 0x0000;
inline constexpr DWORD SND_ASYNC = 0x0001;
inline constexpr DWORD SND_NODEFAULT = 0x0002;
inline constexpr DWORD SND_MEMORY = 0x0004;
inline constexpr DWORD SND_LOOP = 0x0008;

enum class AudioResult {
    Ok,
    BufferLost,   // the buffer's memory was taken away; Restore, then refill
    InvalidParam, // bad region, format, size or offsets
    Failed,
};

struct AudioBufferDesc {
    DWORD flags = 0;
    DWORD bytes = 0;
    WaveFormat format;
};

// What a notification position signals. The device calls Signal from its
// mixing thread, so implementations must be thread-safe and quick.
class AudioSignal {
public:
    virtual ~AudioSignal() = default;
    virtual void Signal() = 0;
};

struct AudioNotifyPosition {
    DWORD offset = 0; // the byte whose playing signals the event
    AudioSignal* event = nullptr;
};

// The two parts of a locked region; the second is used when it wraps.
struct LockedRegion {
    std::uint8_t* first = nullptr;
    DWORD firstBytes = 0;
    std::uint8_t* second = nullptr;
    DWORD secondBytes = 0;
};

// One secondary buffer. Released when the last reference goes.
class AudioBuffer {
public:
    virtual ~AudioBuffer() = default;
    // The region may wrap past the end; bytes must not exceed the size.
    virtual AudioResult Lock(DWORD offset, DWORD bytes, LockedRegion* region) = 0;
    virtual AudioResult Unlock(const LockedRegion& region) = 0;
    // flags: DSBPLAY_LOOPING or 0. Playing resumes from the current position.
    virtual AudioResult Play(DWORD priority, DWORD flags) = 0;
    virtual AudioResult Stop() = 0;
    virtual AudioResult GetStatus(DWORD* status) = 0;
    // Byte offsets of the play cursor and of the first byte safe to write.
    virtual AudioResult GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) = 0;
    virtual AudioResult SetCurrentPosition(DWORD offset) = 0;
    // DSBVOLUME_MIN..DSBVOLUME_MAX.
    virtual AudioResult SetVolume(LONG hundredthsOfDb) = 0;
    virtual AudioResult GetVolume(LONG* hundredthsOfDb) = 0;
    // Gives lost memory back (its contents are undefined until refilled).
    virtual AudioResult Restore() = 0;
    // Only while stopped; replaces any earlier positions.
    virtual AudioResult
    SetNotificationPositions(std::span<const AudioNotifyPosition> positions) = 0;
};

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // --- Device ------------------------------------------------------------
    // Opens the output on first use. False when the machine has no usable
    // output: callers then treat sound as absent and report success silently.
    virtual bool Open() = 0;

    // --- Buffers -----------------------------------------------------------
    // nullptr when there is no output, the format is not playable PCM or the
    // size lies outside DSBSIZE_MIN..DSBSIZE_MAX.
    virtual std::shared_ptr<AudioBuffer> CreateBuffer(const AudioBufferDesc& desc) = 0;

    // --- The memory-sound voice (PlaySoundW from memory) -------------------
    // Plays the PCM asynchronously (the device keeps its own copy), replacing
    // whatever the voice was playing; SND_LOOP repeats it until StopSounds.
    // Without an output device the call succeeds without sounding.
    virtual bool PlaySound(const WaveFormat& format, std::span<const std::uint8_t> pcm,
                           DWORD flags) = 0;
    // sndPlaySoundW(no sound): silences the voice.
    virtual bool StopSounds() = 0;
};
