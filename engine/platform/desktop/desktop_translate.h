// Native input to window messages: one function that turns a Qt event on a
// window into the message Win32 would have queued, with its parameter
// packing. Pure, so the whole table is testable without a display.
#pragma once

#include "platform/win32_types.h"

#include <optional>

class QEvent;

// The Win32 virtual-key code of a Qt key, 0 for keys the engine never sees.
int VirtualKeyOf(int qtKey);

// classStyle decides whether a second click is a double click (CS_DBLCLKS)
// or a plain press. Events with no counterpart give nothing.
std::optional<MSG> TranslateEvent(HWND window, UINT classStyle, const QEvent& event);
