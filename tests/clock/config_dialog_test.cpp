// The alarm settings dialog driven by a scripted user, and what a confirmed
// dialog stores.
#include "clock/config_dialog.h"
#include "clock_fixture.h"
#include "platform/headless/headless_dialog_session.h"

using namespace clock_test;

namespace {

class ConfigDialogTest : public ClockFixture {
protected:
    fs::path Store() const { return SaveFolder("LumiClock") / "LumiClock.ini"; }
    // Runs the settings command with the given user.
    void RunDialog(HeadlessPlatform::DialogScript user) {
        platform->QueueDialogScript(std::move(user));
        app->OnCommand(kCommandSettings, 0);
    }
    const HeadlessPlatform::ShownDialog& Shown() const { return platform->Dialogs().back(); }
};

} // namespace

TEST_F(ConfigDialogTest, TypedValuesAreLimitedAndNegativeOnesKept) {
    Start(1);
    RunDialog([](HeadlessDialogSession& user) {
        user.Click(kAlarmOff + 1);
        user.Type(kHourEdit, u"24");
        EXPECT_EQ(user.Text(kHourEdit), u"0");
        user.Type(kHourEdit, u"-3");
        EXPECT_EQ(user.Text(kHourEdit), u"-3");
        user.Type(kMinuteEdit, u"60");
        EXPECT_EQ(user.Text(kMinuteEdit), u"0");
        user.Type(kMinuteEdit, u"59");
        user.Click(IDOK);
    });
    EXPECT_EQ(Shown().result, IDOK);
    EXPECT_EQ(app->alarm.hour, -3);
    EXPECT_EQ(app->alarm.minute, 59);
    EXPECT_EQ(app->alarm.enable, 1);
    std::string store = ReadText(Store());
    EXPECT_NE(store.find("AlermHour0=-3"), std::string::npos) << store;
    EXPECT_NE(store.find("AlermType0=2"), std::string::npos) << store;
}

TEST_F(ConfigDialogTest, ControlsFollowTheAlarmSwitchAndTheRepeatChoice) {
    Start(1);
    RunDialog([](HeadlessDialogSession& user) {
        EXPECT_EQ(user.Checked(kAlarmOff), BST_CHECKED);
        EXPECT_EQ(user.Checked(kChimeOffRadio + 1), BST_CHECKED) << "chime Random by default";
        EXPECT_EQ(user.Entries(kRepeatList),
                  (std::vector<std::u16string>{u"否", u"毎日", u"设置星期"}));
        for (int id : {kHourEdit, kRepeatList, kBrowseButton, kSoundRandomRadio, kSundayBox,
                       kIncludeSunday}) {
            EXPECT_FALSE(user.Enabled(id)) << id << " while OFF";
        }
        EXPECT_TRUE(user.Enabled(kChimeOffRadio)) << "the chime is never disabled";
        EXPECT_FALSE(user.Visible(kSnoozeEdit));

        user.Click(kAlarmOff + 1);
        EXPECT_TRUE(user.Enabled(kHourEdit));
        EXPECT_TRUE(user.Enabled(kBrowseButton));
        EXPECT_FALSE(user.Enabled(kSundayBox)) << "Once";
        EXPECT_FALSE(user.Enabled(kIncludeSunday)) << "Once";
        user.Choose(kRepeatList, 1);
        EXPECT_FALSE(user.Enabled(kSundayBox)) << "Daily";
        EXPECT_TRUE(user.Enabled(kExcludeSunday)) << "Daily";
        user.Choose(kRepeatList, 2);
        EXPECT_TRUE(user.Enabled(kSundayBox + 6)) << "Weekdays";
        EXPECT_FALSE(user.Enabled(kExcludeSunday)) << "Weekdays";
        user.Cancel();
    });
    EXPECT_EQ(Shown().result, IDCANCEL);
    EXPECT_EQ(app->alarm.enable, 0) << "Cancel keeps the old values";
    EXPECT_FALSE(fs::exists(Store()));
}

TEST_F(ConfigDialogTest, BrowsingSelectsTheUsersFile) {
    Start(1);
    platform->QueueOpenFileAnswer(u"/home/me/wake.wav");
    RunDialog([](HeadlessDialogSession& user) {
        user.Click(kAlarmOff + 1);
        user.Click(kSoundRandomRadio + 2);
        user.Click(kBrowseButton);
        EXPECT_EQ(user.Text(kSoundFileEdit), u"/home/me/wake.wav");
        EXPECT_EQ(user.Checked(kSoundFileRadio), BST_CHECKED);
        EXPECT_EQ(user.Checked(kSoundRandomRadio + 2), BST_UNCHECKED);
        user.Click(IDOK);
    });
    const OpenFileRequest& request = platform->OpenFileRequests().back();
    EXPECT_EQ(request.title, u"浏览音频文件");
    EXPECT_EQ(request.defaultExtension, u"wav");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].second, u"*.wav");
    EXPECT_EQ(request.filters[1].second, u"*.*");
    EXPECT_EQ(app->alarm.sound, kSoundFile);
    EXPECT_EQ(app->alarm.soundFile, u"/home/me/wake.wav");
}

TEST_F(ConfigDialogTest, ValidationAppliesOnlyWhileTheAlarmIsOn) {
    struct Case {
        const char* name;
        bool on;
        bool fileWithoutPath;
        bool weekdaysWithoutDay;
        const char16_t* message; // nullptr: OK closes the dialog
    } cases[] = {
        {"off, nothing checked", false, true, true, nullptr},
        {"on, file without a path", true, true, false, u"请指定音频文件。"},
        {"on, weekdays without a day", true, false, true, u"请至少设置一日以上的响铃日。"},
        {"on, file and weekdays", true, true, true, u"请指定音频文件。"},
    };
    Start(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::size_t boxes = platform->MessageBoxes().size();
        bool stayedOpen = false;
        RunDialog([&](HeadlessDialogSession& user) {
            user.Click(c.on ? kAlarmOff + 1 : kAlarmOff);
            if (c.on) {
                user.Choose(kRepeatList, c.weekdaysWithoutDay ? 2 : 1);
                for (int day = 0; day < 7 && c.weekdaysWithoutDay; ++day) {
                    if (user.Checked(kSundayBox + day) == BST_CHECKED) {
                        user.Click(kSundayBox + day);
                    }
                }
                user.Click(c.fileWithoutPath ? kSoundFileRadio : kSoundRandomRadio);
            }
            user.Click(IDOK);
            stayedOpen = !user.Ended();
            if (stayedOpen) {
                user.Cancel();
            }
        });
        EXPECT_EQ(stayedOpen, c.message != nullptr);
        if (c.message != nullptr) {
            ASSERT_EQ(platform->MessageBoxes().size(), boxes + 1);
            EXPECT_EQ(platform->MessageBoxes().back().text, c.message);
            EXPECT_EQ(platform->MessageBoxes().back().caption, u"错误");
        } else {
            EXPECT_EQ(platform->MessageBoxes().size(), boxes);
        }
    }
}

TEST_F(ConfigDialogTest, ConfirmingRewritesTheAlarmKeysAndKeepsOthers) {
    WriteText(Store(), "[LumiClock]\nAlermType0=0\nAlermHour0=5\nAlermEnable1=1\nPosX=300\n");
    Start(1);
    EXPECT_EQ(app->alarm.hour, 5);
    RunDialog([](HeadlessDialogSession& user) {
        user.Click(kChimeOffRadio + 4); // Sorn
        user.Click(IDOK);
    });
    std::string store = ReadText(Store());
    for (const char* kept : {"AlermType0=2", "AlermHour0=5", "AlermEnable1=1", "PosX=300",
                             "AlermWeek0_6=1", "AlermSnoozeTime0=3", "Jihou=4"}) {
        EXPECT_NE(store.find(kept), std::string::npos) << kept << " in\n" << store;
    }
    EXPECT_EQ(app->jihou, 4);
}

TEST_F(ConfigDialogTest, BinaryStoreIsReadThenSavedAsText) {
    // One integer entry, AlermHour0 = 9, in the binary form.
    std::vector<std::uint8_t> bytes(8, 0);
    auto u32 = [&bytes](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(std::uint8_t(v >> (8 * i)));
        }
    };
    u32(1);
    u32(0);
    std::string section = "LumiClock";
    u32(std::uint32_t(section.size()));
    bytes.insert(bytes.end(), section.begin(), section.end());
    std::string key = "AlermHour0";
    bytes.push_back(1);
    bytes.push_back(0);
    u32(std::uint32_t(key.size()));
    bytes.insert(bytes.end(), key.begin(), key.end());
    u32(9);
    WriteText(Store(), std::string(bytes.begin(), bytes.end()));

    Start(1);
    EXPECT_EQ(app->alarm.hour, 9);
    RunDialog([](HeadlessDialogSession& user) { user.Click(IDOK); });
    std::string store = ReadText(Store());
    EXPECT_EQ(store.rfind("[LumiClock]", 0), 0u) << store;
    EXPECT_NE(store.find("AlermHour0=9"), std::string::npos) << store;
}
