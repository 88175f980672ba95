#include "face_composer.h"

#include <cstring>

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 2.0f * kPi;

int NumberOf(FaceValue value, const LocalTime& now, int digital24) {
    switch (value) {
    case FaceValue::Year2:
        return now.year % 100;
    case FaceValue::Year4:
        return now.year;
    case FaceValue::Month:
        return now.month;
    case FaceValue::Day:
        return now.day;
    case FaceValue::Hour:
        return digital24 != 0 ? now.hour : now.hour % 12;
    case FaceValue::Minute:
        return now.minute;
    case FaceValue::Second:
        return now.second;
    case FaceValue::Weekday:
        return now.dayOfWeek;
    case FaceValue::AmPm:
        return now.hour / 12;
    default:
        return 0;
    }
}

// Which tile of the layer's row: a digit of a number, else the value.
int TileIndex(const FaceLayer& layer, const LocalTime& now, int digital24) {
    int number = NumberOf(layer.value, now, digital24);
    switch (layer.value) {
    case FaceValue::None:
    case FaceValue::Weekday:
    case FaceValue::AmPm:
        return number;
    default:
        return number / layer.place % 10;
    }
}

bool Shown(FaceShown shown, const LocalTime& now, int digital24) {
    switch (shown) {
    case FaceShown::EvenSecond:
        return now.second % 2 == 0;
    case FaceShown::TwelveHour:
        return digital24 == 0;
    default:
        return true;
    }
}

void DrawRotatedLayer(const FaceLayer& layer, CSurface* parts, const LocalTime& now, int index,
                      CSurface* backBuffer) {
    int x0 = layer.sx + layer.stepX * index;
    if (layer.value == FaceValue::MinuteHand || layer.value == FaceValue::HourHand) {
        HandAngles angles = HandAnglesAt(now.hour, now.minute);
        parts->angle = layer.value == FaceValue::MinuteHand ? angles.minute : angles.hour;
    } else {
        parts->angle = layer.degrees / 180.0f * kPi;
    }
    const bool clipped = layer.clip.right > layer.clip.left;
    CSurface::DrawRotated(backBuffer, parts, clipped ? &layer.clip : nullptr, layer.x, layer.y,
                          layer.w, layer.h, x0);
}

} // namespace

HandAngles HandAnglesAt(int hour, int minute) {
    HandAngles angles;
    angles.minute = static_cast<float>(minute) / 60.0f * kTwoPi;
    angles.hour = static_cast<float>(hour) / 12.0f * kTwoPi + angles.minute / 12.0f;
    // Hours 12-23 go round a second time.
    if (angles.hour > kTwoPi) {
        angles.hour -= kTwoPi;
    }
    return angles;
}

void FaceImages::Load(const ClockFace& clockFace) {
    for (int i = 0; i < 2; ++i) {
        const char16_t* name = clockFace.partsImages[i];
        parts[i].reset(name != nullptr ? CSurface::CreateFromFile(name) : nullptr);
    }
    face.reset(CSurface::CreateFromFile(clockFace.faceImage));
}

void ComposeFace(const ClockFace& clockFace, const FaceImages& images, const LocalTime& now,
                 int digital24, CSurface* backBuffer) {
    if (images.face != nullptr) {
        CSurface::Copy(backBuffer, images.face.get(), 0, 0, backBuffer->width, backBuffer->height,
                       0, 0);
    } else {
        std::memset(backBuffer->bits, 0,
                    sizeof(std::uint32_t) * backBuffer->width * backBuffer->height);
    }
    for (const FaceLayer& layer : clockFace.layers) {
        CSurface* parts = images.parts[layer.image].get();
        if (parts == nullptr || !Shown(layer.shown, now, digital24)) {
            continue;
        }
        int index = TileIndex(layer, now, digital24);
        int sx = layer.sx + layer.stepX * index;
        int sy = layer.sy + layer.stepY * index;
        switch (layer.blit) {
        case FaceBlit::Copy:
            CSurface::Copy(backBuffer, parts, layer.x, layer.y, layer.w, layer.h, sx, sy);
            break;
        case FaceBlit::BlendAlpha:
            CSurface::BlendAlpha(backBuffer, parts, layer.x, layer.y, layer.w, layer.h, sx, sy);
            break;
        case FaceBlit::BlendAdd:
            CSurface::BlendAdd(backBuffer, parts, layer.x, layer.y, layer.w, layer.h, sx, sy);
            break;
        case FaceBlit::Rotated:
            DrawRotatedLayer(layer, parts, now, index, backBuffer);
            break;
        }
    }
}
