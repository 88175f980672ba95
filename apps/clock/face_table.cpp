#include "face_table.h"

#include "platform/win32_constants.h"

namespace {

struct SourceTile {
    int sx, sy, stepX, stepY, w, h;
};

constexpr FaceLayer Tile(FaceBlit blit, FaceValue value, int place, SourceTile s, int x, int y,
                         FaceShown shown = FaceShown::Always) {
    FaceLayer layer;
    layer.blit = blit;
    layer.value = value;
    layer.place = place;
    layer.sx = s.sx;
    layer.sy = s.sy;
    layer.stepX = s.stepX;
    layer.stepY = s.stepY;
    layer.w = s.w;
    layer.h = s.h;
    layer.x = x;
    layer.y = y;
    layer.shown = shown;
    return layer;
}

// A hand or its shadow: the strip at x0 of the hands image, turned about
// its pivot, which lands on (x, y).
constexpr FaceLayer Hand(FaceValue hand, int x0, int w, int h, RECT clip, int x, int y) {
    FaceLayer layer = Tile(FaceBlit::Rotated, hand, 1, {x0, 0, 0, 0, w, h}, x, y);
    layer.clip = clip;
    return layer;
}

// A 10 x 16 digit of the first face's tile image, tilted about its centre.
constexpr FaceLayer Tilted(FaceValue value, int place, int x, int y, float degrees) {
    FaceLayer layer = Tile(FaceBlit::Rotated, value, place, {0, 0, 10, 0, 10, 16}, x, y);
    layer.image = 1;
    layer.degrees = degrees;
    return layer;
}

constexpr int kTens = 10;
constexpr int kUnits = 1;
constexpr FaceValue kMinuteHand = FaceValue::MinuteHand;
constexpr FaceValue kHourHand = FaceValue::HourHand;

// Shadows first, each hand's shadow before the hands.
constexpr FaceLayer HandsOf200(int shadowX, int shadowY) {
    return Hand(kMinuteHand, 64, 32, 200, {66, 8, 94, 110}, shadowX, shadowY);
}

const FaceLayer kFace1[] = {
    Tilted(FaceValue::Year2, kUnits, 64, 23, -24.0f),
    Tilted(FaceValue::Year2, kTens, 55, 28, -30.0f),
    Tilted(FaceValue::Month, kUnits, 87, 16, -9.0f),
    Tilted(FaceValue::Month, kTens, 78, 18, -15.0f),
    Tilted(FaceValue::Day, kUnits, 111, 15, 4.0f),
    Tilted(FaceValue::Day, kTens, 102, 15, -2.0f),
    [] {
        FaceLayer weekday =
            Tile(FaceBlit::BlendAlpha, FaceValue::Weekday, 1, {0, 16, 0, 25, 50, 25}, 117, 9);
        weekday.image = 1;
        return weekday;
    }(),
    Tilted(FaceValue::Hour, kTens, 77, 42, -20.0f),
    Tilted(FaceValue::Hour, kUnits, 86, 39, -14.0f),
    Tilted(FaceValue::Minute, kTens, 101, 36, 1.0f),
    Tilted(FaceValue::Minute, kUnits, 110, 36, 7.0f),
    Tilted(FaceValue::Second, kTens, 127, 39, 16.0f),
    Tilted(FaceValue::Second, kUnits, 136, 42, 22.0f),
    HandsOf200(98, 102),
    Hand(kHourHand, 96, 32, 200, {102, 38, 124, 106}, 98, 102),
    Hand(kMinuteHand, 0, 32, 200, {2, 8, 30, 110}, 100, 100),
    Hand(kHourHand, 32, 32, 200, {38, 38, 60, 106}, 100, 100),
};

const FaceLayer kFace2[] = {
    Hand(kMinuteHand, 64, 32, 128, {72, 18, 88, 68}, 68, 337),
    Hand(kHourHand, 96, 32, 128, {104, 32, 120, 60}, 68, 337),
    Hand(kMinuteHand, 0, 32, 128, {8, 18, 24, 68}, 68, 336),
    Hand(kHourHand, 32, 32, 128, {40, 32, 56, 60}, 68, 336),
};

// Faces 5 and 6 share the first face's hands with the shadow further right.
const FaceLayer kHandsOnly200[] = {
    HandsOf200(102, 102),
    Hand(kHourHand, 96, 32, 200, {102, 38, 124, 106}, 102, 102),
    Hand(kMinuteHand, 0, 32, 200, {2, 8, 30, 110}, 100, 100),
    Hand(kHourHand, 32, 32, 200, {38, 38, 60, 106}, 100, 100),
};

constexpr FaceBlit kCopy = FaceBlit::Copy;
constexpr SourceTile kFace3Date{0, 40, 10, 0, 10, 11};
constexpr SourceTile kFace3Time{0, 0, 20, 0, 20, 40};
const FaceLayer kFace3[] = {
    Tile(kCopy, FaceValue::None, 1, {102, 40, 0, 0, 5, 11}, 34, 131),
    Tile(kCopy, FaceValue::None, 1, {102, 40, 0, 0, 5, 11}, 58, 131),
    Tile(kCopy, FaceValue::Year2, kTens, kFace3Date, 15, 131),
    Tile(kCopy, FaceValue::Year2, kUnits, kFace3Date, 24, 131),
    Tile(kCopy, FaceValue::Month, kTens, kFace3Date, 39, 131),
    Tile(kCopy, FaceValue::Month, kUnits, kFace3Date, 48, 131),
    Tile(kCopy, FaceValue::Day, kTens, kFace3Date, 63, 131),
    Tile(kCopy, FaceValue::Day, kUnits, kFace3Date, 72, 131),
    Tile(kCopy, FaceValue::Weekday, 1, {0, 61, 0, 12, 64, 12}, 15, 142),
    Tile(kCopy, FaceValue::None, 1, {200, 0, 0, 0, 20, 40}, 40, 87, FaceShown::EvenSecond),
    Tile(kCopy, FaceValue::Hour, kTens, kFace3Time, 6, 87),
    Tile(kCopy, FaceValue::Hour, kUnits, kFace3Time, 23, 87),
    Tile(kCopy, FaceValue::Minute, kTens, kFace3Time, 51, 87),
    Tile(kCopy, FaceValue::Minute, kUnits, kFace3Time, 68, 87),
};

constexpr FaceBlit kBlend = FaceBlit::BlendAlpha;
constexpr SourceTile kFace4Time{0, 0, 40, 0, 40, 44};
const FaceLayer kFace4[] = {
    Tile(kBlend, FaceValue::None, 1, {400, 0, 0, 0, 40, 44}, 146, 136, FaceShown::EvenSecond),
    Tile(kBlend, FaceValue::AmPm, 1, {0, 50, 40, 0, 40, 20}, 29, 165),
    Tile(kBlend, FaceValue::Hour, kTens, kFace4Time, 82, 136),
    Tile(kBlend, FaceValue::Hour, kUnits, kFace4Time, 118, 136),
    Tile(kBlend, FaceValue::Minute, kTens, kFace4Time, 170, 136),
    Tile(kBlend, FaceValue::Minute, kUnits, kFace4Time, 206, 136),
};

constexpr FaceBlit kAdd = FaceBlit::BlendAdd;
constexpr SourceTile kFace7Date{0, 60, 10, 0, 10, 12};
constexpr SourceTile kFace7Time{0, 0, 20, 0, 20, 26};
constexpr SourceTile kFace7Second{0, 28, 10, 0, 10, 16};
const FaceLayer kFace7[] = {
    Tile(kAdd, FaceValue::Year4, 1000, kFace7Date, 10, 12),
    Tile(kAdd, FaceValue::Year4, 100, kFace7Date, 19, 12),
    Tile(kAdd, FaceValue::Year4, kTens, kFace7Date, 28, 12),
    Tile(kAdd, FaceValue::Year4, kUnits, kFace7Date, 37, 12),
    Tile(kAdd, FaceValue::Month, kTens, kFace7Date, 52, 12),
    Tile(kAdd, FaceValue::Month, kUnits, kFace7Date, 61, 12),
    Tile(kAdd, FaceValue::Day, kTens, kFace7Date, 73, 12),
    Tile(kAdd, FaceValue::Day, kUnits, kFace7Date, 82, 12),
    Tile(kAdd, FaceValue::Weekday, 1, {0, 76, 0, 15, 80, 14}, 272, 12),
    Tile(kAdd, FaceValue::AmPm, 1, {0, 46, 32, 0, 32, 12}, 222, 20, FaceShown::TwelveHour),
    Tile(kAdd, FaceValue::Hour, kTens, kFace7Time, 129, 7),
    Tile(kAdd, FaceValue::Hour, kUnits, kFace7Time, 149, 7),
    Tile(kAdd, FaceValue::Minute, kTens, kFace7Time, 181, 7),
    Tile(kAdd, FaceValue::Minute, kUnits, kFace7Time, 201, 7),
    Tile(kAdd, FaceValue::Second, kTens, kFace7Second, 227, 7),
    Tile(kAdd, FaceValue::Second, kUnits, kFace7Second, 237, 7),
};

// number, face image, parts images, width, height, margins, time mode,
// switchable, store name, layers
const ClockFace kFaces[kClockFaceCount] = {
    {1,
     u"analog_01.mg",
     {u"parts_03.mg", u"parts_d01.mg"},
     200,
     200,
     40,
     40,
     1,
     false,
     u"LumiClock",
     kFace1},
    {2,
     u"analog_02.mg",
     {u"parts_02.mg", nullptr},
     132,
     400,
     60,
     40,
     1,
     false,
     u"LumiClock2",
     kFace2},
    {3,
     u"digital_01.mg",
     {u"parts_d00.mg", nullptr},
     200,
     250,
     40,
     40,
     1,
     false,
     u"LumiClock3",
     kFace3},
    {4,
     u"digital_02.mg",
     {u"parts_d02.mg", nullptr},
     267,
     200,
     60,
     40,
     0,
     false,
     u"LumiClock4",
     kFace4},
    {5,
     u"analog_03.mg",
     {u"parts_03.mg", nullptr},
     200,
     200,
     40,
     40,
     1,
     false,
     u"LumiClock5",
     kHandsOnly200},
    {6,
     u"analog_04.mg",
     {u"parts_03.mg", nullptr},
     200,
     200,
     40,
     40,
     1,
     false,
     u"LumiClock6",
     kHandsOnly200},
    {7,
     u"digital_03.mg",
     {u"parts_d03.mg", nullptr},
     350,
     105,
     40,
     40,
     0,
     true,
     u"LumiClock7",
     kFace7},
};

} // namespace

const ClockFace* FindClockFace(int number) {
    if (number < 1 || number > kClockFaceCount) {
        return nullptr;
    }
    return &kFaces[number - 1];
}

DesktopProfile ClockDesktopProfile(const ClockFace& face) {
    DesktopProfile profile;
    profile.clientWidth = face.width;
    profile.clientHeight = face.height;
    profile.exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW;
    profile.windowClass = u"Lumi_DTA_Clock";
    profile.title = u"Lumi☆时钟";
    profile.semaphore = u"SEM_Lumi_DTA_CLOCK";
    profile.takesOverRunningInstance = true;
    profile.shortcutName = u"Lumi☆时钟%d.lnk";
    profile.faceNumber = face.number;
    profile.faceCount = kClockFaceCount;
    profile.edgeMarginX = face.marginX;
    profile.edgeMarginY = face.marginY;
    profile.aboutButtonText = u"确定";
    return profile;
}
