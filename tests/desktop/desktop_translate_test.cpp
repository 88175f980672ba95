// Qt events to window messages: numbers and parameter packing.
#include "platform/desktop/desktop_translate.h"
#include "platform/win32_constants.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

namespace {

const HWND kWindow = reinterpret_cast<HWND>(0x100);

std::unique_ptr<QEvent> Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button,
                              Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = {}) {
    return std::make_unique<QMouseEvent>(type, QPointF(at), QPointF(at + QPoint(500, 400)), button,
                                         held, modifiers);
}

std::unique_ptr<QEvent> Key(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = {},
                            bool repeat = false) {
    return std::make_unique<QKeyEvent>(type, key, modifiers, QString(), repeat);
}

struct Case {
    const char* what;
    std::unique_ptr<QEvent> event;
    UINT classStyle;
    MSG expected;
};

TEST(DesktopTranslate, InputBecomesTheOriginalMessages) {
    Case cases[] = {
        {"left press",
         Mouse(QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton, Qt::LeftButton),
         0,
         {kWindow, WM_LBUTTONDOWN, 0x0001, MakeLParam(10, 20)}},
        {"left release with Ctrl",
         Mouse(QEvent::MouseButtonRelease, {10, 20}, Qt::LeftButton, {}, Qt::ControlModifier),
         0,
         {kWindow, WM_LBUTTONUP, 0x0008, MakeLParam(10, 20)}},
        {"right press, negative point",
         Mouse(QEvent::MouseButtonPress, {-3, 7}, Qt::RightButton, Qt::RightButton),
         0,
         {kWindow, WM_RBUTTONDOWN, 0x0002, MakeLParam(-3, 7)}},
        {"right release",
         Mouse(QEvent::MouseButtonRelease, {4, 5}, Qt::RightButton, {}),
         0,
         {kWindow, WM_RBUTTONUP, 0, MakeLParam(4, 5)}},
        {"move with Shift",
         Mouse(QEvent::MouseMove, {1, 2}, Qt::NoButton, {}, Qt::ShiftModifier),
         0,
         {kWindow, WM_MOUSEMOVE, 0x0004, MakeLParam(1, 2)}},
        {"double click with CS_DBLCLKS",
         Mouse(QEvent::MouseButtonDblClick, {3, 3}, Qt::LeftButton, Qt::LeftButton),
         CS_DBLCLKS,
         {kWindow, WM_LBUTTONDBLCLK, 0x0001, MakeLParam(3, 3)}},
        {"double click without CS_DBLCLKS is a press",
         Mouse(QEvent::MouseButtonDblClick, {3, 3}, Qt::LeftButton, Qt::LeftButton),
         0,
         {kWindow, WM_LBUTTONDOWN, 0x0001, MakeLParam(3, 3)}},
        {"right double click",
         Mouse(QEvent::MouseButtonDblClick, {3, 3}, Qt::RightButton, Qt::RightButton),
         CS_DBLCLKS,
         {kWindow, WM_RBUTTONDBLCLK, 0x0002, MakeLParam(3, 3)}},
        {"Enter", Key(QEvent::KeyPress, Qt::Key_Return), 0, {kWindow, WM_KEYDOWN, VK_RETURN, 1}},
        {"keypad Enter",
         Key(QEvent::KeyPress, Qt::Key_Enter),
         0,
         {kWindow, WM_KEYDOWN, VK_RETURN, 1}},
        {"arrow, repeating",
         Key(QEvent::KeyPress, Qt::Key_Left, {}, true),
         0,
         {kWindow, WM_KEYDOWN, VK_LEFT, 1 | (LPARAM{1} << 30)}},
        {"letter", Key(QEvent::KeyPress, Qt::Key_M), 0, {kWindow, WM_KEYDOWN, 'M', 1}},
        {"letter released",
         Key(QEvent::KeyRelease, Qt::Key_M),
         0,
         {kWindow, WM_KEYUP, 'M', 1 | (LPARAM{3} << 30)}},
        {"Alt with '/' for the accelerator",
         Key(QEvent::KeyPress, Qt::Key_Slash, Qt::AltModifier),
         0,
         {kWindow, WM_SYSKEYDOWN, VK_OEM_2, 1 | (LPARAM{1} << 29)}},
        {"Alt with '?' is the same key",
         Key(QEvent::KeyPress, Qt::Key_Question, Qt::AltModifier | Qt::ShiftModifier),
         0,
         {kWindow, WM_SYSKEYDOWN, VK_OEM_2, 1 | (LPARAM{1} << 29)}},
        {"menu key",
         std::make_unique<QContextMenuEvent>(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                             QPoint(505, 405)),
         0,
         {kWindow, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(kWindow), -1}},
        {"close box", std::make_unique<QCloseEvent>(), 0, {kWindow, WM_CLOSE, 0, 0}},
    };
    for (const Case& c : cases) {
        std::optional<MSG> got = TranslateEvent(kWindow, c.classStyle, *c.event);
        ASSERT_TRUE(got.has_value()) << c.what;
        EXPECT_EQ(got->hwnd, c.expected.hwnd) << c.what;
        EXPECT_EQ(got->message, c.expected.message) << c.what;
        EXPECT_EQ(got->wParam, c.expected.wParam) << c.what;
        EXPECT_EQ(got->lParam, c.expected.lParam) << c.what;
    }
}

TEST(DesktopTranslate, WheelPacksDeltaKeyStateAndScreenPoint) {
    QWheelEvent wheel(QPointF(10, 10), QPointF(610, 420), QPoint(), QPoint(0, -240), Qt::LeftButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    std::optional<MSG> got = TranslateEvent(kWindow, 0, wheel);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->message, WM_MOUSEWHEEL);
    EXPECT_EQ(static_cast<std::int16_t>(HiWord(got->wParam)), -240);
    EXPECT_EQ(got->wParam & 0xFF, 0x0001u | 0x0008u);
    EXPECT_EQ(got->lParam, MakeLParam(610, 420));
}

TEST(DesktopTranslate, EventsWithoutCounterpartGiveNothing) {
    auto middle = Mouse(QEvent::MouseButtonPress, {1, 1}, Qt::MiddleButton, Qt::MiddleButton);
    // The right release, not Qt's mouse menu request, opens the context menu.
    QContextMenuEvent mouseMenu(QContextMenuEvent::Mouse, QPoint(1, 1), QPoint(501, 401));
    auto unknownKey = Key(QEvent::KeyPress, Qt::Key_MediaPlay);
    EXPECT_FALSE(TranslateEvent(kWindow, 0, *middle).has_value());
    EXPECT_FALSE(TranslateEvent(kWindow, 0, mouseMenu).has_value());
    EXPECT_FALSE(TranslateEvent(kWindow, 0, *unknownKey).has_value());
}

} // namespace
