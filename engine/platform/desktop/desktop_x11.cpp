#include "desktop_x11.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace x11 {
namespace {

xcb_connection_t* Connection() {
    auto* native = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return native != nullptr ? native->connection() : nullptr;
}

int ScreenNumber() {
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0) {
        return 0;
    }
    std::free(host);
    return screen;
}

xcb_window_t RootWindow(xcb_connection_t* connection) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = ScreenNumber(); i > 0 && it.rem > 1; --i) {
        xcb_screen_next(&it);
    }
    return it.data->root;
}

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* connection, const std::string& name) {
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.c_str()),
            nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

} // namespace

void SetWindowClass(WId window, const std::string& name) {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr) {
        return;
    }
    // Instance and class, each NUL-terminated.
    std::string value = name + '\0' + name + '\0';
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window),
                        XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, static_cast<uint32_t>(value.size()),
                        value.data());
    xcb_flush(connection);
}

void AddWindowStates(WId window, std::initializer_list<const char*> states) {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr) {
        return;
    }
    xcb_atom_t property = Atom(connection, "_NET_WM_STATE");
    auto xwindow = static_cast<xcb_window_t>(window);
    std::vector<xcb_atom_t> atoms;
    Reply<xcb_get_property_reply_t> existing(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, xwindow, property, XCB_ATOM_ATOM, 0, 1024),
            nullptr),
        &std::free);
    if (existing && existing->format == 32 && existing->type == XCB_ATOM_ATOM) {
        auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(existing.get()));
        atoms.assign(data, data + existing->value_len);
    }
    for (const char* state : states) {
        atoms.push_back(Atom(connection, state));
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xwindow, property, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
    xcb_flush(connection);
}

bool CompositorRunning() {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr) {
        return false;
    }
    xcb_atom_t selection = Atom(connection, "_NET_WM_CM_S" + std::to_string(ScreenNumber()));
    Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection),
                                      nullptr),
        &std::free);
    return owner && owner->owner != XCB_WINDOW_NONE;
}

bool PrimaryButtonDown() {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr) {
        return false;
    }
    Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, RootWindow(connection)),
                                nullptr),
        &std::free);
    return pointer && (pointer->mask & XCB_BUTTON_MASK_1) != 0;
}

std::optional<QPoint> WindowOrigin(WId window) {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr) {
        return std::nullopt;
    }
    Reply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(connection,
                                        xcb_translate_coordinates(connection,
                                                                  static_cast<xcb_window_t>(window),
                                                                  RootWindow(connection), 0, 0),
                                        nullptr),
        &std::free);
    if (!origin) {
        return std::nullopt;
    }
    return QPoint(origin->dst_x, origin->dst_y);
}

} // namespace x11
