// The clock's one alarm: what is stored about it in the face's alarm store
// (a keyed settings file named after the face in the save folder).
#pragma once

#include "data/mg_file.h"

#include <string>

enum AlarmRepeat { kRepeatOnce = 0, kRepeatDaily = 1, kRepeatWeekdays = 2 };
enum AlarmSound { kSoundRandom = 0, kSoundFile = 6 }; // 1-5: the voices Pell ... Brisa

inline constexpr int kSoundFileUnits = 259;

struct AlarmEntry {
    int type = 0; // written as 2 whenever the settings dialog is confirmed
    int enable = 0;
    int hour = 0;
    int minute = 0;
    int repeat = kRepeatOnce;
    int weekDays[7] = {1, 1, 1, 1, 1, 1, 1}; // Sunday ... Saturday
    int excludeSunday = 0;
    int snooze = 0;         // kept and edited only: nothing snoozes
    int snoozeInterval = 3; // minutes
    int sound = kSoundRandom;
    int minuteOfDay = 0; // hour * 60 + minute, derived
    std::u16string soundFile;

    // Fills the fields from the store file, defaults where keys are missing.
    void Load(CMGFile& file, const char16_t* storeName);
    // Rewrites every field, keeping the file's other keys. 0 when the file
    // cannot be written.
    int Save(CMGFile& file, const char16_t* storeName) const;
    // After enabling or a repeating ring: the minute to ring at; Weekdays
    // with no day left becomes Once.
    void RecomputeMinuteOfDay();
};
