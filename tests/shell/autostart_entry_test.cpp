// The autostart entry's command: an installed program (program folder
// <prefix>/lib/lumi with its link in <prefix>/bin) starts through the link,
// any other program by its own path.
#include "base/text16.h"
#include "shell/autostart_entry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class AutostartEntryTest : public ::testing::Test {
protected:
    AutostartEntryTest() {
        root = fs::temp_directory_path() /
               ("lumi-autostart-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    ~AutostartEntryTest() override { fs::remove_all(root); }

    fs::path Program(const fs::path& relative) {
        fs::path path = root / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "program";
        return path;
    }
    void Link(const fs::path& relative, const fs::path& target) {
        fs::path path = root / relative;
        fs::create_directories(path.parent_path());
        fs::create_symlink(target, path);
    }
    // The Exec line of the entry written for the executable.
    std::string ExecFor(const fs::path& executable) {
        fs::path entry = root / "autostart" / "Lumi☆月历.desktop";
        EXPECT_TRUE(WriteAutostartEntry(Utf8ToUtf16(entry.string()), u"Lumi☆月历",
                                        Utf8ToUtf16(executable.string())));
        std::ifstream in(entry);
        std::string line;
        while (std::getline(in, line)) {
            if (line.starts_with("Exec=")) {
                return line.substr(5);
            }
        }
        return "(no Exec line)";
    }

    fs::path root;
};

TEST_F(AutostartEntryTest, AnInstalledProgramStartsThroughItsLauncher) {
    fs::path program = Program("usr/lib/lumi/LumiMonthly");
    Link("usr/bin/LumiMonthly", "../lib/lumi/LumiMonthly");
    EXPECT_EQ(ExecFor(program), (root / "usr/bin/LumiMonthly").string());

    // The launcher path is quoted like any other command.
    fs::path spaced = Program("my prefix/lib/lumi/LumiDaily");
    Link("my prefix/bin/LumiDaily", spaced);
    EXPECT_EQ(ExecFor(spaced), "\"" + (root / "my prefix/bin/LumiDaily").string() + "\"");
}

TEST_F(AutostartEntryTest, WithoutItsOwnLauncherTheProgramStartsByItself) {
    struct Case {
        const char* what;
        const char* program;
        const char* link;   // nullptr: no link
        const char* target; // the link's target, relative to the link
    };
    const Case cases[] = {
        {"no launcher", "a/lib/lumi/LumiMonthly", nullptr, nullptr},
        {"a launcher of another program", "b/lib/lumi/LumiClock", "b/bin/LumiClock",
         "../lib/lumi/LumiClock2"},
        {"a dangling launcher", "c/lib/lumi/LumiClock3", "c/bin/LumiClock3",
         "../lib/lumi/gone"},
        {"a build folder", "d/build/bin/LumiDaily", nullptr, nullptr},
        {"a program folder not under lib", "e/opt/lumi/LumiDaily", "e/opt/bin/LumiDaily",
         "../lumi/LumiDaily"},
    };
    Program("b/lib/lumi/LumiClock2");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::path program = Program(c.program);
        if (c.link != nullptr) {
            Link(c.link, c.target);
        }
        EXPECT_EQ(ExecFor(program), program.string());
    }
}

} // namespace
