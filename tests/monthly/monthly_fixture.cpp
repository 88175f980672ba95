#include "monthly_fixture.h"

#include "calendar/calendar_rules.h"

#include <fstream>

namespace {

void Append16(std::string& bytes, int value) {
    bytes += char(value & 0xFF);
    bytes += char(value >> 8 & 0xFF);
}

void Append32(std::string& bytes, std::uint32_t value) {
    Append16(bytes, int(value & 0xFFFF));
    Append16(bytes, int(value >> 16));
}

// 0.05 s of a square wave: 16-bit mono PCM at 22050 Hz.
std::string ClickWave() {
    std::string pcm;
    for (int i = 0; i < 1102; ++i) {
        Append16(pcm, (i / 20) % 2 == 0 ? 8000 : -8000);
    }
    std::string wave = "RIFF";
    Append32(wave, std::uint32_t(36 + pcm.size()));
    wave += "WAVEfmt ";
    Append32(wave, 16);
    Append16(wave, 1);
    Append16(wave, 1);
    Append32(wave, 22050);
    Append32(wave, 44100);
    Append16(wave, 2);
    Append16(wave, 16);
    wave += "data";
    Append32(wave, std::uint32_t(pcm.size()));
    return wave + pcm;
}

} // namespace

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

void WriteTga(const std::filesystem::path& path, const Picture& picture) {
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = char(picture.width & 0xFF);
    bytes[13] = char(picture.width >> 8);
    bytes[14] = char(picture.height & 0xFF);
    bytes[15] = char(picture.height >> 8);
    bytes[16] = 32;
    bytes[17] = 8;
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            Append32(bytes, picture.pixels[y * picture.width + x]);
        }
    }
    WriteBytes(path, bytes);
}

void WriteUtf16(const std::filesystem::path& path, std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        Append16(bytes, unit);
    }
    WriteBytes(path, bytes);
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::u16string ReadUtf16(const std::filesystem::path& path) {
    std::string bytes = ReadText(path);
    std::u16string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text += char16_t(std::uint8_t(bytes[i]) | std::uint8_t(bytes[i + 1]) << 8);
    }
    return text;
}

void WriteMonthlyArtwork(const std::filesystem::path& folder) {
    for (int month = 1; month <= 12; ++month) {
        Picture picture(kWindowWidth, kWindowHeight, MonthColour(month));
        picture.Fill(RECT{kGridX, kFifthRowY, kGridX + 7 * kColumnPitch, kFifthRowY + 18},
                     kFifthRowColour);
        char name[16];
        std::snprintf(name, sizeof name, "%02d.mg", month);
        WriteTga(folder / name, picture);
    }

    Picture parts(250, 100);
    for (int day = 1; day <= 31; ++day) {
        int x = (day - 1) % 10 * kNumeralWidth;
        int y = (day - 1) / 10 * kNumeralHeight;
        parts.Fill(RECT{x + kNumeralBox.left, y + kNumeralBox.top, x + kNumeralBox.right,
                        y + kNumeralBox.bottom},
                   0xFF000000);
    }
    for (int digit = 0; digit <= 9; ++digit) {
        parts.Fill(RECT{16 * digit, kDigitRowY, 16 * digit + digit + 1, kDigitRowY + kDigitHeight},
                   0xFF000000);
    }
    parts.Fill(kHolidayBacking, kBackingColour);
    parts.Fill(RECT{kMemoMark.left + kMarkCorner.left, kMemoMark.top + kMarkCorner.top,
                    kMemoMark.left + kMarkCorner.right, kMemoMark.top + kMarkCorner.bottom},
               kMarkColour);
    WriteTga(folder / "cal_parts01.mg", parts);

    Picture buttons(96, 72);
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            buttons.Fill(RECT{32 * column, 24 * row, 32 * column + 32, 24 * row + 24},
                         ButtonColour(column, row));
        }
    }
    WriteTga(folder / "cal_button01.mg", buttons);
    WriteTga(folder / "win_schedule.mg", Picture(304, 222, kPopupColour));
    WriteBytes(folder / "snd_se001.wav", ClickWave());
    // Marine Day, the third Monday of July (the 20th in 2009).
    WriteBytes(folder / "holidays.txt", "1996\t2099\t7\tM3\tMarine Day\r\n");
}

MonthlyTest::MonthlyTest() {
    InstallPlatform(&platform);
    root = std::filesystem::temp_directory_path() /
           ("lumi-monthly-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root);
    programFolder = root / "program";
    dataHome = root / "data";
    WriteMonthlyArtwork(programFolder);
    platform.SetPaths(Utf8ToUtf16((programFolder / "LumiMonthly").string()),
                      Utf8ToUtf16(dataHome.string()), Utf8ToUtf16((root / "config").string()),
                      Utf8ToUtf16((root / "run").string()));
    platform.SetScreen(1920, 1080, 1920, 1040);
}

MonthlyTest::~MonthlyTest() {
    if (app != nullptr) {
        app->OnExit();
        app.reset();
    }
    InstallPlatform(nullptr);
    std::filesystem::remove_all(root);
}

int MonthlyTest::Start(int year, int month, int day) {
    LocalTime now;
    now.year = WORD(year);
    now.month = WORD(month);
    now.day = WORD(day);
    now.dayOfWeek = WORD(WeekdayOf(year, month, day));
    now.hour = 10;
    platform.SetLocalTime(now);
    app.reset(CreateMonthlyApp());
    app->classStyle |= CS_DBLCLKS;
    int started = app->Init(nullptr, SW_SHOW);
    if (started == 0) {
        app.reset();
    }
    return started;
}

void MonthlyTest::Pump(std::uint64_t ms) {
    std::uint64_t end = platform.Elapsed() + ms;
    MSG message;
    while (!quit && platform.Elapsed() < end) {
        while (platform.PeekMessage(&message, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                return;
            }
            platform.TranslateMessage(message);
            platform.DispatchMessage(message);
        }
        app->Tick();
        platform.WaitIdle(app->lastFrameTime + app->frameInterval);
    }
}

void MonthlyTest::Post(UINT message, int x, int y, WPARAM wParam) {
    platform.PostMessage(app->hWnd, message, wParam, MakeLParam(x, y));
}

void MonthlyTest::ContextMenu(POINT at) {
    platform.ClientToScreen(app->hWnd, &at);
    Post(WM_CONTEXTMENU, at.x, at.y, reinterpret_cast<WPARAM>(app->hWnd));
}

POINT MonthlyTest::DayPoint(int year, int month, int day) {
    int cell = WeekdayOfFirst(year, month) + day - 1;
    return POINT{kGridX + cell % 7 * kColumnPitch + 12, kGridY + cell / 7 * kRowPitch + 10};
}

std::uint32_t MonthlyTest::Pixel(int x, int y) const {
    const auto& frames = platform.Frames();
    EXPECT_FALSE(frames.empty());
    return frames.empty() ? 0 : frames.back().PixelAt(x, y) & 0xFFFFFF;
}

int MonthlyTest::ShownYear(int month) const {
    std::uint32_t colour = kYearColours[month - 1];
    int year = 0;
    for (int x : kYearDigitX) {
        int width = 0;
        while (width < 12 && Pixel(x + width, kYearY + 10) == colour) {
            ++width;
        }
        year = year * 10 + width - 1;
    }
    return year;
}

std::filesystem::path MonthlyTest::MemoFile(int year, int month) const {
    char name[32];
    std::snprintf(name, sizeof name, "sch%04d%02d.dat", year, month);
    return dataHome / "LumiMonthly" / name;
}
