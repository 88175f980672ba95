#include "sprite.h"

#include <algorithm>

CSprite::~CSprite() {
    ReleaseImage();
}

void CSprite::ReleaseImage() {
    if (ownsImage != 0 && image != nullptr) {
        image->Release();
        delete image;
    }
    image = nullptr;
    visible = 0;
    drawFlags = 0;
    ownsImage = 0;
    id = -1;
}

void CSprite::SetPosition(int newX, int newY) {
    x = newX;
    y = newY;
    int left = x - hotspotX;
    int top = y - hotspotY;
    hitRect = RECT{left, top, left + width, top + height};
    dirty = 1;
}

void CSprite::SetOpacity(int value) {
    opacity = std::clamp(value, 0, 255);
    if (opacity == 255) {
        drawFlags &= ~kDrawOpacity;
    } else {
        drawFlags |= kDrawOpacity;
        if (image != nullptr) {
            image->opacity = opacity;
        }
    }
    dirty = 1;
}

void CSprite::Draw(CSurface* destination) {
    if (image == nullptr || visible == 0) {
        return;
    }
    int left = x - hotspotX;
    int top = y - hotspotY;
    image->opacity = std::clamp(opacity, 0, 255);
    bool alpha = (drawFlags & kDrawAlpha) != 0;
    bool keyed = (drawFlags & kDrawColorKey) != 0;
    bool faded = (drawFlags & kDrawOpacity) != 0;
    auto blit = alpha   ? (faded ? CSurface::BlendAlphaOpacity : CSurface::BlendAlpha)
                : keyed ? (faded ? CSurface::BlendKeyedOpacity : CSurface::CopyKeyed)
                : faded ? CSurface::BlendOpacity
                        : CSurface::Copy;
    blit(destination, image, left, top, width, height, sourceX, sourceY);
}

CButtonSprite::CButtonSprite() {
    centred = 1;
    for (RECT& cell : cells) {
        cell = RECT{};
    }
}

int CButtonSprite::LoadSheet(const char16_t* sheetName) {
    ReleaseImage();
    CSurface* sheet = CSurface::CreateFromFile(sheetName);
    if (sheet == nullptr) {
        return 0;
    }
    image = sheet;
    sourceX = 0;
    sourceY = 0;
    width = sheet->width;
    height = sheet->height;
    if (sheet->hasAlpha != 0) {
        drawFlags = kDrawAlpha;
    }
    hotspotX = width / 2;
    hotspotY = height / 2;
    centred = 1;
    ownsImage = 1;
    return 1;
}

int CButtonSprite::SetCells(const POINT cellOrigins[3], int cellWidth, int cellHeight) {
    for (int i = 0; i < 3; ++i) {
        cells[i] = RECT{cellOrigins[i].x, cellOrigins[i].y, cellOrigins[i].x + cellWidth,
                        cellOrigins[i].y + cellHeight};
    }
    sourceX = cells[kButtonNormal].left;
    sourceY = cells[kButtonNormal].top;
    width = cellWidth;
    height = cellHeight;
    hotspotX = cellWidth / 2;
    hotspotY = cellHeight / 2;
    buttonOpacity = 255;
    centred = 1;
    return 1;
}

void CButtonSprite::ShowCell(int newState) {
    const RECT& cell = cells[newState];
    sourceX = cell.left;
    sourceY = cell.top;
    width = cell.Width();
    height = cell.Height();
    hotspotX = width / 2;
    hotspotY = height / 2;
    dirty = 1;
}

void CButtonSprite::SetState(int newState) {
    state = newState;
    ShowCell(newState);
}

void CButtonSprite::TrackMove(int px, int py) {
    if (state == kButtonPressed) {
        return;
    }
    bool inside = visible != 0 && HitTest(px, py);
    if (inside && state == kButtonNormal) {
        SetState(kButtonHover);
    } else if (!inside && state == kButtonHover) {
        SetState(kButtonNormal);
    }
}

int CButtonSprite::TryPress(int px, int py) {
    if (state >= kButtonPressed || visible == 0 || !HitTest(px, py)) {
        return 0;
    }
    SetState(kButtonPressed);
    return 1;
}

int CButtonSprite::FrameStep() {
    int wasDirty = dirty;
    dirty = 0;
    return wasDirty;
}
