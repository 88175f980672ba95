// The few X11 requests Qt offers no API for. Call them only when the Qt
// platform is xcb: other platforms (offscreen included) may still report an
// X11 interface and crash on these.
#pragma once

#include <QPoint>
#include <QWindow>

#include <initializer_list>
#include <optional>
#include <string>

namespace x11 {

// WM_CLASS, both instance and class part, so tools find the window by it.
void SetWindowClass(WId window, const std::string& name);
// Adds _NET_WM_STATE atoms to a window that is not mapped yet; Qt keeps
// atoms it does not manage when it maps the window.
void AddWindowStates(WId window, std::initializer_list<const char*> states);
// A compositing manager owns the _NET_WM_CM_S<screen> selection.
bool CompositorRunning();
// The pointer's first button is held, as the server sees it now.
bool PrimaryButtonDown();
// The window's top-left corner on the root window, as the server has it.
std::optional<QPoint> WindowOrigin(WId window);

} // namespace x11
