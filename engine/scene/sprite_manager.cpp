#include "sprite_manager.h"

#include "shell/app_base.h"

#include <algorithm>

C2DManager::C2DManager(const ButtonSheetProfile& profile) : profile_(profile) {}

C2DManager::~C2DManager() {
    buttons_.clear();
    pressedId = -1;
}

CButtonSprite* C2DManager::CreateButton(const POINT* cellOrigins, int id) {
    auto button = std::make_unique<CButtonSprite>();
    if (profile_.sheetName == nullptr || button->LoadSheet(profile_.sheetName) == 0) {
        return nullptr;
    }
    button->SetCells(cellOrigins != nullptr ? cellOrigins : profile_.defaultCells,
                     profile_.cellWidth, profile_.cellHeight);
    RemoveButton(id);
    button->id = id;
    buttons_.push_back(std::move(button));
    return buttons_.back().get();
}

CButtonSprite* C2DManager::FindButton(int id) const {
    auto it = std::find_if(buttons_.begin(), buttons_.end(),
                           [id](const auto& button) { return button->id == id; });
    return it == buttons_.end() ? nullptr : it->get();
}

int C2DManager::RemoveButton(int id) {
    if (id == pressedId) {
        pressedId = -1;
    }
    auto it = std::find_if(buttons_.begin(), buttons_.end(),
                           [id](const auto& button) { return button->id == id; });
    if (it == buttons_.end()) {
        return 0;
    }
    buttons_.erase(it);
    return 1;
}

void C2DManager::ResetButtonRange() {
    if (InResetRange(pressedId)) {
        pressedId = -1;
    }
    for (const auto& button : buttons_) {
        if (InResetRange(button->id)) {
            button->SetState(kButtonNormal);
        }
    }
}

void C2DManager::Draw(CSurface* backBuffer) {
    for (const auto& button : buttons_) {
        button->Draw(backBuffer);
    }
}

void C2DManager::Notify(CButtonSprite* button, int id, int code) {
    if (CAppBase* app = CAppBase::Instance()) {
        app->OnControlEvent(button, id, code, 0, this);
    }
}

int C2DManager::Update() {
    bool anyDirty = false;
    for (const auto& button : buttons_) {
        anyDirty = button->FrameStep() != 0 || anyDirty;
    }
    CAppBase* app = CAppBase::Instance();
    if (anyDirty && app != nullptr) {
        app->redrawRequested = 1;
    }
    return 0;
}

int C2DManager::OnLButtonDown(int x, int y) {
    if (pressedId >= 0) {
        return 0; // a press is outstanding until its release
    }
    for (const auto& button : buttons_) {
        if (button->visible != 0 && button->TryPress(x, y) != 0) {
            pressedId = button->id;
            Notify(button.get(), pressedId, kControlPressed);
            return 1;
        }
    }
    return 0;
}

int C2DManager::OnLButtonUp(int /*x*/, int /*y*/) {
    if (pressedId < 0) {
        return 0;
    }
    // The pressed button may have been removed since: the release is then
    // reported without a button.
    CButtonSprite* button = FindButton(pressedId);
    if (button != nullptr && button->state == kButtonPressed) {
        button->SetState(kButtonHover);
    }
    Notify(button, pressedId, kControlReleased);
    pressedId = -1;
    return 0;
}

int C2DManager::OnMouseMove(int x, int y) {
    for (const auto& button : buttons_) {
        button->TrackMove(x, y);
        if (button->state == kButtonHover) {
            Notify(button.get(), button->id, kControlHovered);
        }
    }
    return 0;
}

int C2DManager::OnKeyDown(int virtualKey) {
    auto focused = std::find_if(buttons_.begin(), buttons_.end(), [](const auto& button) {
        return button->state == kButtonHover || button->state == kButtonPressed;
    });
    CButtonSprite* focus = focused == buttons_.end() ? nullptr : focused->get();
    if (virtualKey == VK_RETURN) {
        if (focus != nullptr) {
            pressedId = focus->id;
            Notify(focus, pressedId, kControlPressed);
        }
    } else if (virtualKey >= VK_LEFT && virtualKey <= VK_DOWN) {
        if (focus == nullptr && !buttons_.empty()) {
            CButtonSprite* first = buttons_.front().get();
            first->SetState(kButtonHover);
            pressedId = -1;
            Notify(first, first->id, kControlHovered);
        }
    }
    return 0;
}
