// When the clock speaks: hourly chimes, the alarm and its suppression, the
// voice choice and the user's own file, driven frame by frame at chosen
// wall-clock times.
#include "clock_fixture.h"

using namespace clock_test;

namespace {

struct Step {
    LocalTime time;
    // Voices started by this frame; '*' stands for any voice's word.
    std::vector<std::string> expected;
    bool enableAlarmThroughMenu = false;
};

struct Case {
    const char* name;
    // Keys of the program's section ("{FILE}" becomes the user file's path).
    std::string settings;
    std::vector<Step> steps; // the first is the start-up frame
    int enabledAfter;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

constexpr int kSunday = 14; // 2009-06-14
constexpr int kMonday = 15;

LocalTime June(int day, int hour, int minute, int second) {
    return At(2009, 6, day, hour, minute, second);
}

bool Matches(const std::string& pattern, const std::string& name) {
    std::size_t star = pattern.find('*');
    if (star == std::string::npos) {
        return pattern == name;
    }
    for (const char* word : {"pell", "dara", "sorn", "hanet", "brisa"}) {
        if (pattern.substr(0, star) + word + pattern.substr(star + 1) == name) {
            return true;
        }
    }
    return false;
}

const std::string kDailySeven = "AlermEnable0=1\nAlermHour0=7\nAlermMinutes0=0\nAlermRepeat0=1\n";
const std::string kUserWave = "user.wav"; // 700 frames: 1400 bytes
const std::string kBroken = "broken.wav";

const Case kCases[] = {
    {"random chime at three",
     "Jihou=1\n",
     {{June(kMonday, 14, 59, 58), {}}, {June(kMonday, 15, 0, 0), {"*-14.wav"}}},
     0},
    {"random chime at midnight and noon",
     "Jihou=1\n",
     {{June(kMonday, 23, 59, 59), {}},
      {June(16, 0, 0, 0), {"*-23.wav"}},
      {June(16, 11, 59, 59), {}},
      {June(16, 12, 0, 0), {"*-23.wav"}}},
     0},
    {"Sorn at nine",
     "Jihou=4\n",
     {{June(kMonday, 8, 59, 59), {}}, {June(kMonday, 9, 0, 0), {"sorn-20.wav"}}},
     0},
    {"alarm drops the chime of its minute",
     "Jihou=2\n" + kDailySeven + "AlermSoundType0=2\n",
     {{June(kMonday, 6, 59, 59), {}},
      {June(kMonday, 7, 0, 0), {"dara-50.wav"}},
      {June(kMonday, 7, 0, 1), {}}},
     1},
    {"Sunday excluded from a daily alarm",
     "Jihou=2\n" + kDailySeven + "AlermDisableHoliday0=1\nAlermSoundType0=1\n",
     {{June(kSunday, 6, 59, 30), {}},
      {June(kSunday, 7, 0, 0), {"pell-18.wav"}},
      {June(kMonday, 6, 59, 30), {}},
      {June(kMonday, 7, 0, 0), {"pell-50.wav"}}},
     1},
    {"weekdays with only Monday",
     "Jihou=0\nAlermEnable0=1\nAlermHour0=7\nAlermRepeat0=2\nAlermSoundType0=3\n"
     "AlermWeek0_0=0\nAlermWeek0_1=1\nAlermWeek0_2=0\nAlermWeek0_3=0\nAlermWeek0_4=0\n"
     "AlermWeek0_5=0\nAlermWeek0_6=0\n",
     {{June(kSunday, 7, 0, 0), {}},
      {June(kMonday, 6, 59, 30), {}},
      {June(kMonday, 7, 0, 0), {"sorn-52.wav"}},
      {June(16, 6, 59, 30), {}},
      {June(16, 7, 0, 0), {}}},
     1},
    {"once rings once",
     "Jihou=0\nAlermEnable0=1\nAlermHour0=7\nAlermSoundType0=4\n",
     {{June(kMonday, 6, 59, 30), {}},
      {June(kMonday, 7, 0, 0), {"hanet-49.wav"}},
      {June(16, 6, 59, 30), {}},
      {June(16, 7, 0, 0), {}}},
     0},
    {"starting inside the alarm minute",
     "Jihou=0\n" + kDailySeven + "AlermSoundType0=5\n",
     {{June(kMonday, 7, 0, 30), {"brisa-47.wav"}}, {June(kMonday, 7, 0, 31), {}}},
     1},
    {"starting inside minute 0 chimes at once",
     "Jihou=6\n",
     {{June(kMonday, 10, 0, 20), {"brisa-21.wav"}}, {June(kMonday, 10, 0, 21), {}}},
     0},
    {"clock set forward past the alarm",
     "Jihou=0\n" + kDailySeven,
     {{June(kMonday, 6, 59, 0), {}}, {June(kMonday, 7, 1, 0), {}}, {June(kMonday, 7, 2, 0), {}}},
     1},
    {"only the hour changes",
     "Jihou=2\n",
     {{June(kMonday, 6, 0, 50), {"pell-17.wav"}}, {June(kMonday, 7, 0, 10), {}}},
     0},
    {"enabled through the menu within its minute",
     "Jihou=0\nAlermEnable0=0\nAlermHour0=7\nAlermRepeat0=1\nAlermSoundType0=1\n",
     {{June(kMonday, 7, 0, 5), {}}, {June(kMonday, 7, 0, 6), {"pell-50.wav"}, true}},
     1},
    {"the user's file",
     "Jihou=0\n" + kDailySeven + "AlermSoundType0=6\nAlermSoundFile0=\"{FILE}" + kUserWave + "\"\n",
     {{June(kMonday, 7, 0, 0), {"1400 bytes"}}},
     1},
    {"a missing user file gives Pell's voice",
     "Jihou=0\n" + kDailySeven + "AlermSoundType0=6\nAlermSoundFile0=\"{FILE}missing.wav\"\n",
     {{June(kMonday, 7, 0, 0), {"pell-50.wav"}}},
     1},
    {"an undecodable user file gives Pell's voice",
     "Jihou=0\n" + kDailySeven + "AlermSoundType0=6\nAlermSoundFile0=\"{FILE}" + kBroken + "\"\n",
     {{June(kMonday, 7, 0, 0), {"pell-50.wav"}}},
     1},
};

class SchedulerTest : public ClockFixture, public ::testing::WithParamInterface<Case> {};

} // namespace

TEST_P(SchedulerTest, SpeaksAtTheRightMinutes) {
    const Case& c = GetParam();
    WriteVoices();
    fs::path userFiles = DataHome() / "user";
    fs::create_directories(userFiles);
    WriteWave(userFiles / kUserWave, 700);
    WriteText(userFiles / kBroken, "RIFF....WAVEjunk");
    std::string settings = c.settings;
    if (std::size_t at = settings.find("{FILE}"); at != std::string::npos) {
        settings.replace(at, 6, userFiles.string() + "/");
    }
    // The first face's program name equals its store name: one file.
    WriteText(SaveFolder("LumiClock") / "LumiClock.ini", "[LumiClock]\n" + settings);

    std::size_t seen = 0;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
        const Step& step = c.steps[i];
        SCOPED_TRACE("step " + std::to_string(i));
        if (i == 0) {
            platform->SetLocalTime(step.time);
            Start(1);
        } else {
            if (step.enableAlarmThroughMenu) {
                platform->QueueMenuChoice(kCommandAlarmEnable);
                app->OnContextMenu(0, 0);
                Pump();
            }
            FrameAt(step.time);
            app->OnFrame(); // a second frame in the same second changes nothing
        }
        std::vector<std::string> played = Played();
        std::vector<std::string> now(played.begin() + std::ptrdiff_t(seen), played.end());
        seen = played.size();
        ASSERT_EQ(now.size(), step.expected.size()) << ::testing::PrintToString(now);
        for (std::size_t k = 0; k < now.size(); ++k) {
            EXPECT_TRUE(Matches(step.expected[k], now[k])) << now[k];
        }
    }
    EXPECT_EQ(app->alarm.enable, c.enabledAfter);
    if (c.enabledAfter == 0 && c.settings.find("AlermEnable0=1") != std::string::npos) {
        EXPECT_EQ(SavedInt(u"AlermEnable0"), 0);
        platform->QueueMenuChoice(0);
        app->OnContextMenu(0, 0);
        EXPECT_FALSE(platform->Menus().back().items[1].checked) << "启用闹铃";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SchedulerTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != 0; ++p) {
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

TEST(ChimeFiles, NamesFollowTheVoiceAndTheHourOfTwelve) {
    EXPECT_EQ(ChimeFileName(0, 1), u"pell-12.wav");
    EXPECT_EQ(ChimeFileName(1, 3), u"dara-14.wav");
    EXPECT_EQ(ChimeFileName(0, 11), u"pell-22.wav");
    EXPECT_EQ(ChimeFileName(0, 0), u"pell-23.wav");
    EXPECT_EQ(ChimeFileName(4, 6), u"brisa-17.wav");
}
