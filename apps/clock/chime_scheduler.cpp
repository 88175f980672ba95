#include "chime_scheduler.h"

#include "base/format16.h"
#include "base/process_random.h"

namespace {

const char16_t* const kVoiceWords[kVoiceCount] = {u"pell", u"dara", u"sorn", u"hanet", u"brisa"};
const char16_t* const kAlarmFiles[kVoiceCount] = {u"pell-50.wav", u"dara-50.wav", u"sorn-52.wav",
                                                  u"hanet-49.wav", u"brisa-47.wav"};
constexpr int kPell = 0;

int RandomVoice() {
    return NextRandom() % kVoiceCount;
}

// The voice of a stored choice whose values 1-5 name Pell ... Brisa; any
// other value (a store edited by hand) picks at random rather than reading
// past the voice tables.
int VoiceOf(int choice) {
    return choice >= 1 && choice <= kVoiceCount ? choice - 1 : RandomVoice();
}

} // namespace

std::u16string ChimeFileName(int voice, int hourOfTwelve) {
    // Twelve o'clock is number 23; one to eleven are 12 to 22.
    int number = hourOfTwelve == 0 ? 23 : 11 + hourOfTwelve;
    return Format16(u"%s-%d.wav", {std::u16string_view(kVoiceWords[voice]), number});
}

const char16_t* AlarmFileName(int voice) {
    return kAlarmFiles[voice];
}

ChimeScheduler::ChimeScheduler(AlarmEntry& alarm, const int& chimeMode, CMGFile& file)
    : alarm_(alarm), chimeMode_(chimeMode), file_(file) {}

void ChimeScheduler::NoteMinute(const LocalTime& now) {
    minuteChanged = 1;
    if (chimeMode_ > kChimeOff && now.minute == 0) {
        pendingChime = VoiceOf(chimeMode_ - 1) * 12 + now.hour % 12;
    }
}

void ChimeScheduler::CheckAndRing(const LocalTime& now) {
    if (minuteChanged != 0) {
        int minuteOfDay = now.hour * 60 + now.minute;
        if (alarm_.enable != 0 && minuteOfDay == alarm_.minuteOfDay && RingAlarm(now) != 0) {
            return;
        }
    }
    if (pendingChime >= 0) {
        StopSound();
        std::u16string name = ChimeFileName(pendingChime / 12, pendingChime % 12);
        Play(CMemorySound::Create(name.c_str()));
        pendingChime = -1;
    }
}

void ChimeScheduler::StopSound() {
    if (current_ != nullptr) {
        current_->Stop();
        current_.reset();
    }
}

void ChimeScheduler::Play(CMemorySound* sound) {
    current_.reset(sound);
    if (current_ != nullptr) {
        current_->Play(0, 0);
    }
}

bool ChimeScheduler::Suppressed(int dayOfWeek) const {
    if (alarm_.repeat == kRepeatDaily) {
        return alarm_.excludeSunday != 0 && dayOfWeek == 0;
    }
    if (alarm_.repeat == kRepeatWeekdays) {
        return alarm_.weekDays[dayOfWeek] == 0;
    }
    return false;
}

int ChimeScheduler::RingAlarm(const LocalTime& now) {
    if (Suppressed(now.dayOfWeek)) {
        minuteChanged = 0;
        return 0;
    }
    StopSound();
    // The user's file falls back to Pell's voice when it cannot be read or
    // decoded.
    int voice = alarm_.sound == kSoundFile ? kPell : VoiceOf(alarm_.sound);
    CMemorySound* sound = nullptr;
    if (alarm_.sound == kSoundFile) {
        bool previous = file_.absolutePathMode;
        file_.absolutePathMode = true;
        sound = CMemorySound::Create(alarm_.soundFile.c_str());
        file_.absolutePathMode = previous;
    }
    if (sound == nullptr) {
        sound = CMemorySound::Create(kAlarmFiles[voice]);
    }
    if (sound != nullptr) {
        // The alarm speaks instead of a chime noted in the same minute.
        pendingChime = -1;
    }
    Play(sound);
    minuteChanged = 0;
    if (alarm_.repeat == kRepeatOnce) {
        alarm_.enable = 0;
        file_.WriteSettingInt(0, u"AlermEnable0");
    } else {
        alarm_.RecomputeMinuteOfDay();
    }
    return 1;
}
