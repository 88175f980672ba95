// The input interface through which the shell reaches the scene: the
// manager sees mouse and key input before the application's hooks and runs
// its update at the start of every frame. A nonzero result means the event
// was consumed and the hook is not called.
#pragma once

class CControlManager {
public:
    virtual int Update() = 0;
    virtual int OnLButtonDown(int x, int y) = 0;
    virtual int OnLButtonUp(int x, int y) = 0;
    virtual int OnLButtonDblClk(int x, int y) = 0;
    virtual int OnMouseWheel(int delta, int keyState) = 0;
    virtual int OnMouseMove(int x, int y) = 0;
    virtual int OnKeyDown(int virtualKey) = 0;
    virtual ~CControlManager() = default;
};
