// Decides, frame by frame, when the clock speaks: the hourly chime at
// minute 0 and the alarm at its minute. It owns the clock's one sound, so
// at most one voice plays at a time.
#pragma once

#include "alarm_entry.h"
#include "sound/memory_sound.h"

#include <memory>

// The hourly chime's voice: Off, a random voice, or one voice.
enum ChimeMode { kChimeOff = 0, kChimeRandom = 1 }; // 2-6: Pell ... Brisa

inline constexpr int kVoiceCount = 5;

// "pell-12.wav" ... : voice v, the hour's place k = hour mod 12.
std::u16string ChimeFileName(int voice, int hourOfTwelve);
const char16_t* AlarmFileName(int voice);

class ChimeScheduler {
public:
    // The alarm and the chime mode belong to the clock; the file service
    // reads voices and writes the alarm's enable flag.
    ChimeScheduler(AlarmEntry& alarm, const int& chimeMode, CMGFile& file);

    // The wall-clock minute differs from the last one seen.
    void NoteMinute(const LocalTime& now);
    // Every frame, after the time update.
    void CheckAndRing(const LocalTime& now);
    // Silences and drops the current voice.
    void StopSound();

    // Set at construction and by every minute change, so the alarm minute
    // is compared until it rings or is suppressed.
    int minuteChanged = 1;
    int pendingChime = -1; // voice * 12 + hour mod 12, or -1

private:
    // 1 when the alarm counts as rung (even if nothing could be played).
    int RingAlarm(const LocalTime& now);
    bool Suppressed(int dayOfWeek) const;
    void Play(CMemorySound* sound);

    AlarmEntry& alarm_;
    const int& chimeMode_;
    CMGFile& file_;
    std::unique_ptr<CMemorySound> current_;
};
