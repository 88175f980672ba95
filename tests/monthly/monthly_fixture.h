// The monthly calendar over the headless backend, with artwork of the
// right sizes and cells made of flat colours, so frames can be read back
// pixel by pixel: each month picture has its own colour with a marked
// fifth row, numerals are opaque boxes, the digit of value k is a stripe
// k + 1 pixels wide, the holiday backing is green and the memo mark a blue
// corner.
#pragma once

#include "../glyphs/fake_glyphs.h"
#include "base/text16.h"
#include "monthly/monthly_app.h"
#include "monthly/monthly_layout.h"
#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

inline constexpr std::uint32_t kFifthRowColour = 0xFF123456;
inline constexpr std::uint32_t kBackingColour = 0xFF00C000;
inline constexpr std::uint32_t kMarkColour = 0xFF0000E0;
inline constexpr std::uint32_t kPopupColour = 0xFF202080;
inline constexpr RECT kNumeralBox{6, 4, 19, 17}; // inside a numeral cell
inline constexpr RECT kMarkCorner{20, 0, 28, 6}; // inside the memo mark

inline std::uint32_t MonthColour(int month) {
    return 0xFF000000u | std::uint32_t(month * 16) << 16 | 0x3333u;
}
inline std::uint32_t ButtonColour(int column, int row) {
    return 0xFF000000u | std::uint32_t(0x40 * (column + 1)) << 8 | std::uint32_t(0x40 * row);
}

// A picture stored top row first.
struct Picture {
    Picture(int w, int h, std::uint32_t fill = 0) : width(w), height(h), pixels(w * h, fill) {}
    void Fill(RECT r, std::uint32_t colour) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                pixels[y * width + x] = colour;
            }
        }
    }
    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};

void WriteTga(const std::filesystem::path& path, const Picture& picture);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
// UTF-16 with the byte-order mark, as the program writes memo files.
void WriteUtf16(const std::filesystem::path& path, std::u16string_view text);
std::u16string ReadUtf16(const std::filesystem::path& path);
std::string ReadText(const std::filesystem::path& path);

// Writes the artwork, the click sound and holidays.txt into a folder.
void WriteMonthlyArtwork(const std::filesystem::path& folder);

class MonthlyTest : public ::testing::Test {
protected:
    MonthlyTest();
    ~MonthlyTest() override;

    // Starts the program at the local time; 1 when Init succeeded.
    int Start(int year, int month, int day);
    // Runs the message loop's passes (without its exit) for ms virtual ms.
    void Pump(std::uint64_t ms);
    // Posts a message to the window in client coordinates.
    void Post(UINT message, int x, int y, WPARAM wParam = 0);
    void Click(POINT at) { Post(WM_LBUTTONDOWN, at.x, at.y), Post(WM_LBUTTONUP, at.x, at.y); }
    // Opens the popup menu at a client point.
    void ContextMenu(POINT at);
    // The client point at the centre of a day's numeral in a month.
    static POINT DayPoint(int year, int month, int day);
    // The last presented frame's pixel, without alpha.
    std::uint32_t Pixel(int x, int y) const;
    // The year read back from the digits stripes of the last frame.
    int ShownYear(int month) const;
    std::filesystem::path MemoFile(int year, int month) const;
    std::filesystem::path SettingsIni() const {
        return dataHome / "LumiMonthly" / "LumiMonthly.ini";
    }

    HeadlessPlatform platform;
    FakeGlyphsScope glyphs;
    std::filesystem::path root;
    std::filesystem::path programFolder;
    std::filesystem::path dataHome;
    std::unique_ptr<CAppBase> app;
    bool quit = false;
};
