// lumi-shot: runs a gadget over the headless backend at a chosen local time
// and screen size, with optional scripted pointer input, and writes the
// last presented frame as a PNG.
//
//   lumi-shot PROGRAM [ARGS...] --time YYYY-MM-DDTHH:MM:SS --out FILE
//             [--screen WxH] [--save-dir DIR] [--move X,Y] [--click X,Y]
//             [--frames N]
//
// The program's artwork comes from its archive in the build tree, unpacked
// as loose files into a scratch program folder beside the holiday rules.
// --save-dir is used as the program's save folder (settings and memos);
// without it the program starts with none.
#include "base/text16.h"
#include "calendar/calendar_rules.h"
#include "data/mg_file.h"
#include "platform/headless/headless_platform.h"
#include "png_frame.h"
#include "shot_programs.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kDefaultFrames = 30;
constexpr WPARAM kLeftButtonHeld = 0x0001; // MK_LBUTTON

struct Options {
    std::string program;
    std::vector<std::string> programArgs;
    std::optional<LocalTime> time;
    std::string out;
    int screenWidth = 1920;
    int screenHeight = 1080;
    std::string saveDir;
    std::optional<POINT> move;
    std::optional<POINT> click;
    int frames = kDefaultFrames;
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "lumi-shot: %s\n", message.c_str());
    return 1;
}

int Usage() {
    std::fputs("usage: lumi-shot PROGRAM [ARGS...] --time YYYY-MM-DDTHH:MM:SS --out FILE\n"
               "                 [--screen WxH] [--save-dir DIR] [--move X,Y] [--click X,Y]"
               " [--frames N]\n",
               stderr);
    for (const ShotProgram& program : ShotPrograms()) {
        std::fprintf(stderr, "  lumi-shot %s %s...\n", program.name, program.arguments);
    }
    return 2;
}

std::optional<LocalTime> ParseTime(const std::string& text) {
    int year, month, day, hour, minute, second;
    char tail;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &year, &month, &day, &hour, &minute,
                    &second, &tail) != 6 ||
        month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59 || hour < 0 || minute < 0 || second < 0) {
        return std::nullopt;
    }
    LocalTime time;
    time.year = WORD(year);
    time.month = WORD(month);
    time.day = WORD(day);
    time.dayOfWeek = WORD(WeekdayOf(year, month, day));
    time.hour = WORD(hour);
    time.minute = WORD(minute);
    time.second = WORD(second);
    return time;
}

// "A<sep>B" with two non-negative integers.
bool ParsePair(const std::string& text, char separator, int* a, int* b) {
    char sep, tail;
    return std::sscanf(text.c_str(), "%d%c%d%c", a, &sep, b, &tail) == 3 && sep == separator &&
           *a >= 0 && *b >= 0;
}

std::optional<Options> ParseOptions(int argc, char** argv, std::string* error) {
    Options options;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            (options.program.empty() ? options.program : options.programArgs.emplace_back()) = arg;
            continue;
        }
        if (i + 1 >= args.size()) {
            *error = arg + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        int x = 0, y = 0;
        if (arg == "--time") {
            options.time = ParseTime(value);
            if (!options.time) {
                *error = "--time must be YYYY-MM-DDTHH:MM:SS";
                return std::nullopt;
            }
        } else if (arg == "--out") {
            options.out = value;
        } else if (arg == "--save-dir") {
            options.saveDir = value;
        } else if (arg == "--screen" && ParsePair(value, 'x', &x, &y) && x > 0 && y > 0) {
            options.screenWidth = x;
            options.screenHeight = y;
        } else if (arg == "--move" && ParsePair(value, ',', &x, &y)) {
            options.move = POINT{x, y};
        } else if (arg == "--click" && ParsePair(value, ',', &x, &y)) {
            options.click = POINT{x, y};
        } else if (arg == "--frames" && ParsePair(value + ",0", ',', &x, &y) && x > 0) {
            options.frames = x;
        } else {
            *error = "bad option " + arg + " " + value;
            return std::nullopt;
        }
    }
    if (options.program.empty() || !options.time || options.out.empty()) {
        *error = "PROGRAM, --time and --out are required";
        return std::nullopt;
    }
    return options;
}

// Unpacks every entry of the archive file into folder as loose files,
// which the program's file service finds before any archive.
bool UnpackArchive(const fs::path& archivePath, const fs::path& folder, std::string* error) {
    std::ifstream in(archivePath, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    CMGFile reader;
    if (bytes.empty() || reader.OpenArchive(bytes) == 0) {
        *error = archivePath.string() + ": not a readable archive (build the program's archive)";
        return false;
    }
    for (const ArchiveEntry& entry : reader.Entries()) {
        if (!reader.EntryInArchive(entry)) {
            continue;
        }
        std::vector<std::uint8_t> data(entry.size);
        reader.ReadEntry(entry, data.data(), data.size());
        std::ofstream out(folder / std::string(entry.Name()), std::ios::binary);
        out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
        if (!out) {
            *error = "cannot unpack " + std::string(entry.Name());
            return false;
        }
    }
    return true;
}

// Starts the program, feeds the input once its first frames are out, runs
// the frames asked for and writes the last one presented.
int Shoot(HeadlessPlatform& platform, CAppBase& app, const Options& options) {
    if (app.Init(nullptr, SW_SHOW) == 0) {
        return Fail("the program did not start");
    }
    std::uint64_t inputAt = platform.Elapsed() + 2 * app.frameInterval;
    if (options.move) {
        POINT screen = *options.move;
        platform.ClientToScreen(app.hWnd, &screen);
        platform.SetCursorPos(screen);
        platform.PostAt(inputAt, app.hWnd, WM_MOUSEMOVE, 0,
                        MakeLParam(options.move->x, options.move->y));
    }
    if (options.click) {
        LPARAM at = MakeLParam(options.click->x, options.click->y);
        platform.PostAt(inputAt + 1, app.hWnd, WM_LBUTTONDOWN, kLeftButtonHeld, at);
        platform.PostAt(inputAt + 2, app.hWnd, WM_LBUTTONUP, 0, at);
    }
    platform.SetRunLimit(inputAt + std::uint64_t(options.frames) * app.frameInterval);
    app.RunMessageLoop();
    if (platform.Frames().empty()) {
        return Fail("the program presented no frame");
    }
    std::string error;
    if (!WriteFramePng(options.out, platform.Frames().back(), &error)) {
        return Fail(error);
    }
    return 0;
}

int Run(const Options& options) {
    const ShotProgram* program = nullptr;
    for (const ShotProgram& candidate : ShotPrograms()) {
        if (options.program == candidate.name) {
            program = &candidate;
        }
    }
    if (program == nullptr) {
        return Usage();
    }

    HeadlessPlatform platform;
    InstallPlatform(&platform);
    std::string error;
    ShotLaunch launch = program->launch(options.programArgs, &error);
    if (!launch.create) {
        InstallPlatform(nullptr);
        return Fail(error);
    }

    std::error_code ignored;
    fs::path scratch = fs::temp_directory_path() / ("lumi-shot-" + std::to_string(::getpid()));
    fs::path programFolder = scratch / "program";
    fs::path dataHome = scratch / "data";
    fs::create_directories(programFolder);
    fs::create_directories(dataHome);
    int result = 0;
    if (!UnpackArchive(fs::path(LUMI_ARCHIVE_DIR) / (launch.archiveName + ".idx2"), programFolder,
                       &error)) {
        result = Fail(error);
    } else {
        fs::copy_file(LUMI_HOLIDAYS_FILE, programFolder / "holidays.txt", ignored);
        if (!options.saveDir.empty()) {
            fs::create_directories(options.saveDir);
            fs::create_directory_symlink(fs::absolute(options.saveDir),
                                         dataHome / launch.executableName);
        }
        platform.SetPaths(Utf8ToUtf16((programFolder / launch.executableName).string()),
                          Utf8ToUtf16(dataHome.string()),
                          Utf8ToUtf16((scratch / "config").string()),
                          Utf8ToUtf16((scratch / "run").string()));
        platform.SetScreen(options.screenWidth, options.screenHeight, options.screenWidth,
                           options.screenHeight);
        platform.SetLocalTime(*options.time);
        std::unique_ptr<CAppBase> app(launch.create());
        result = Shoot(platform, *app, options);
    }
    InstallPlatform(nullptr);
    fs::remove_all(scratch, ignored);
    return result;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    std::optional<Options> options = ParseOptions(argc, argv, &error);
    if (!options) {
        Fail(error);
        return Usage();
    }
    return Run(*options);
}
