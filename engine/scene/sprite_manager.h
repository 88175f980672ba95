// The scene of a gadget's window: owns its buttons in drawing and hit-test
// order, takes the shell's mouse and key input first, reports presses,
// releases and hovering to the application and asks for redraws.
#pragma once

#include "button_sheet_profile.h"
#include "shell/control_manager.h"
#include "sprite.h"

#include <memory>
#include <vector>

class C2DManager : public CControlManager {
public:
    explicit C2DManager(const ButtonSheetProfile& profile);
    ~C2DManager() override;

    // A new invisible button cut from the sheet (the default cells when
    // cellOrigins is null), replacing any button with the same id; null
    // when the sheet cannot be loaded.
    CButtonSprite* CreateButton(const POINT* cellOrigins, int id);
    CButtonSprite* FindButton(int id) const;
    int RemoveButton(int id);
    void ResetButtonRange();
    void Draw(CSurface* backBuffer);

    int Update() override;
    int OnLButtonDown(int x, int y) override;
    int OnLButtonUp(int x, int y) override;
    int OnLButtonDblClk(int, int) override { return 0; }
    int OnMouseWheel(int, int) override { return 0; }
    int OnMouseMove(int x, int y) override;
    int OnKeyDown(int virtualKey) override;

    int pressedId = -1;

private:
    void Notify(CButtonSprite* button, int id, int code);
    bool InResetRange(int id) const {
        return id >= profile_.resetFirstId && id <= profile_.resetLastId;
    }

    const ButtonSheetProfile& profile_;
    std::vector<std::unique_ptr<CButtonSprite>> buttons_;
};

inline constexpr int kControlPressed = 1;
inline constexpr int kControlReleased = 2;
inline constexpr int kControlHovered = 3;
