#include "alarm_entry.h"

#include "base/format16.h"
#include "data/mg_database.h"

namespace {

// Only the first alarm is stored or read.
constexpr int kAlarmIndex = 0;

std::u16string Key(const char16_t* format) {
    return Format16(format, {kAlarmIndex});
}

std::u16string WeekKey(int day) {
    return Format16(u"AlermWeek%d_%d", {kAlarmIndex, day});
}

// The store file is a path on disk, not an archive entry: absolute-path
// mode for as long as the store is read or written.
class AbsolutePaths {
public:
    explicit AbsolutePaths(CMGFile& file) : file_(file), previous_(file.absolutePathMode) {
        file_.absolutePathMode = true;
    }
    ~AbsolutePaths() { file_.absolutePathMode = previous_; }
    AbsolutePaths(const AbsolutePaths&) = delete;
    AbsolutePaths& operator=(const AbsolutePaths&) = delete;

private:
    CMGFile& file_;
    bool previous_;
};

std::u16string StorePath(CMGFile& file, const char16_t* storeName) {
    // The save folder falls back to the program folder when it cannot be made.
    if (file.SaveFolder()[0] == 0) {
        file.MakeSaveFolder();
    }
    return std::u16string(file.SaveFolder()) + storeName + u".ini";
}

void ReadStore(CMGFile& file, const std::u16string& path, CMGDataBase& store) {
    store.SetDefaultSection();
    if (file.FileExists(path.c_str()) == 0) {
        return;
    }
    DWORD size = 0;
    ByteBlock bytes(file.LoadFile(path.c_str(), &size));
    if (bytes != nullptr) {
        store.Load(bytes.get(), size);
    }
}

} // namespace

void AlarmEntry::Load(CMGFile& file, const char16_t* storeName) {
    AbsolutePaths absolute(file);
    CMGDataBase::SetDefaultSectionName(storeName);
    CMGDataBase store;
    ReadStore(file, StorePath(file, storeName), store);
    type = store.GetInt(Key(u"AlermType%d").c_str(), 0);
    enable = store.GetInt(Key(u"AlermEnable%d").c_str(), 0);
    hour = store.GetInt(Key(u"AlermHour%d").c_str(), 0);
    minute = store.GetInt(Key(u"AlermMinutes%d").c_str(), 0);
    repeat = store.GetInt(Key(u"AlermRepeat%d").c_str(), kRepeatOnce);
    for (int day = 0; day < 7; ++day) {
        weekDays[day] = store.GetInt(WeekKey(day).c_str(), 1);
    }
    excludeSunday = store.GetInt(Key(u"AlermDisableHoliday%d").c_str(), 0);
    snooze = store.GetInt(Key(u"AlermSnooze%d").c_str(), 0);
    snoozeInterval = store.GetInt(Key(u"AlermSnoozeTime%d").c_str(), 3);
    sound = store.GetInt(Key(u"AlermSoundType%d").c_str(), kSoundRandom);
    soundFile = store.GetString(Key(u"AlermSoundFile%d").c_str());
    if (soundFile.size() > kSoundFileUnits) {
        soundFile.resize(kSoundFileUnits);
    }
}

int AlarmEntry::Save(CMGFile& file, const char16_t* storeName) const {
    AbsolutePaths absolute(file);
    CMGDataBase::SetDefaultSectionName(storeName);
    CMGDataBase store;
    std::u16string path = StorePath(file, storeName);
    ReadStore(file, path, store);
    store.SetInt(Key(u"AlermType%d").c_str(), type);
    store.SetInt(Key(u"AlermEnable%d").c_str(), enable);
    store.SetInt(Key(u"AlermHour%d").c_str(), hour);
    store.SetInt(Key(u"AlermMinutes%d").c_str(), minute);
    store.SetInt(Key(u"AlermRepeat%d").c_str(), repeat);
    for (int day = 0; day < 7; ++day) {
        store.SetInt(WeekKey(day).c_str(), weekDays[day]);
    }
    store.SetInt(Key(u"AlermDisableHoliday%d").c_str(), excludeSunday);
    store.SetInt(Key(u"AlermSnooze%d").c_str(), snooze);
    store.SetInt(Key(u"AlermSnoozeTime%d").c_str(), snoozeInterval);
    store.SetInt(Key(u"AlermSoundType%d").c_str(), sound);
    store.SetString(Key(u"AlermSoundFile%d").c_str(), soundFile.c_str());
    return store.Save(path.c_str());
}

void AlarmEntry::RecomputeMinuteOfDay() {
    if (enable == 0) {
        return;
    }
    minuteOfDay = hour * 60 + minute;
    if (repeat == kRepeatWeekdays) {
        for (int day : weekDays) {
            if (day != 0) {
                return;
            }
        }
        repeat = kRepeatOnce;
    }
}
