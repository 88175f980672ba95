// What differs between the seven clock faces, as data: images, sizes,
// placement margins, the time mode, the alarm store's name and the ordered
// layers drawn over the face image. The composer reads these rows; no other
// code knows which face it runs.
#pragma once

#include "platform/win32_types.h"
#include "shell/desktop_profile.h"

#include <span>

// How a layer reaches the back buffer.
enum class FaceBlit {
    Copy,       // opaque copy, alpha included
    BlendAlpha, // source-over, destination alpha kept
    BlendAdd,   // per-channel saturating addition
    Rotated,    // a strip turned about its pivot (hands, tilted digits)
};

// The part of the time a layer shows; it picks the source tile (or, for
// the hands, the angle).
enum class FaceValue {
    None, // a fixed tile (separators, colon)
    Year2,
    Year4,
    Month,
    Day,
    Hour, // 0-23, or 0-11 in 12-hour mode
    Minute,
    Second,
    Weekday, // 0 = Sunday
    AmPm,    // 0 = AM, 1 = PM
    MinuteHand,
    HourHand,
};

enum class FaceShown {
    Always,
    EvenSecond, // the blinking colon
    TwelveHour, // the AM/PM tile of a switchable face
};

struct FaceLayer {
    FaceBlit blit = FaceBlit::Copy;
    FaceValue value = FaceValue::None;
    int place = 1; // decimal place of a number's digit: 1, 10, 100, 1000
    int image = 0; // which of the face's parts images
    // Source tile for index 0, and how far the tile moves per index (digit,
    // weekday or AM/PM). Rotated layers take the strip (sx, 0, w, h).
    int sx = 0;
    int sy = 0;
    int stepX = 0;
    int stepY = 0;
    int w = 0;
    int h = 0;
    // Destination top-left; for rotated layers where the pivot lands.
    int x = 0;
    int y = 0;
    float degrees = 0.0f; // tilt of a rotated digit, clockwise
    RECT clip{};          // rotated: source positions drawn; empty = the whole strip
    FaceShown shown = FaceShown::Always;
};

struct ClockFace {
    int number = 0;
    const char16_t* faceImage = nullptr;
    // Loaded in this order before the face image; nullptr when unused.
    const char16_t* partsImages[2] = {};
    int width = 0; // window, back buffer and face image
    int height = 0;
    int marginX = 40; // saved positions this close to the far edge snap back
    int marginY = 40;
    int digital24Default = 1;
    bool digital24Switchable = false; // reads "Digital24" and offers the menu entry
    const char16_t* storeName = nullptr;
    std::span<const FaceLayer> layers;
};

inline constexpr int kClockFaceCount = 7;

// Faces are numbered 1-7; nullptr for any other number.
const ClockFace* FindClockFace(int number);

// The shared desktop behaviour's values for one face.
DesktopProfile ClockDesktopProfile(const ClockFace& face);
