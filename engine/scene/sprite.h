// A positioned rectangle of an image, drawn with one of the blits, and the
// three-state button built on it.
#pragma once

#include "imaging/surface.h"
#include "platform/win32_types.h"

inline constexpr unsigned kDrawColorKey = 0x01;
inline constexpr unsigned kDrawAlpha = 0x02;
inline constexpr unsigned kDrawOpacity = 0x04;

class CSprite {
public:
    CSprite() = default;
    CSprite(const CSprite&) = delete;
    CSprite& operator=(const CSprite&) = delete;

    virtual ~CSprite();
    // Releases the image if owned; the sprite is then empty, invisible and
    // has id -1.
    virtual void ReleaseImage();
    // Moves the hotspot to (x, y); the hit rectangle follows.
    virtual void SetPosition(int x, int y);
    // Clamped to 0..255; below 255 the opacity blend is used.
    virtual void SetOpacity(int value);

    // One blit of the source rectangle, chosen by the draw flags.
    void Draw(CSurface* destination);
    bool HitTest(int px, int py) const { return hitRect.Contains(POINT{px, py}); }

    CSurface* image = nullptr;
    unsigned visible = 0;
    int x = 0;
    int y = 0;
    int sourceX = 0;
    int sourceY = 0;
    int width = 0;
    int height = 0;
    unsigned drawFlags = 0;
    int id = 0;
    int opacity = 255;
    RECT hitRect;
    int dirty = 0;
    int hotspotX = 0;
    int hotspotY = 0;
    int centred = 0;
    unsigned ownsImage = 0;
};

enum ButtonState { kButtonNormal = 0, kButtonHover = 1, kButtonPressed = 2 };

class CButtonSprite : public CSprite {
public:
    CButtonSprite();

    // Loads the button sheet as the sprite's own image. 0 when it cannot.
    int LoadSheet(const char16_t* sheetName);
    // Cells for normal, hover and pressed from their top-left corners.
    int SetCells(const POINT cellOrigins[3], int cellWidth, int cellHeight);
    void ShowCell(int newState);
    void TrackMove(int px, int py);
    int TryPress(int px, int py);
    // The dirty flag, cleared.
    int FrameStep();
    void SetState(int newState);

    int state = kButtonNormal;
    int buttonOpacity = 128;
    RECT cells[3];
};
