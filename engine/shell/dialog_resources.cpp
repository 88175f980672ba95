#include "dialog_resources.h"

#include <algorithm>
#include <deque>

namespace {
// A deque keeps descriptions in place while running dialogs refer to them.
std::deque<DialogTemplate> g_dialogs;
} // namespace

void AddDialogResource(DialogTemplate dialog) {
    auto it = std::find_if(g_dialogs.begin(), g_dialogs.end(),
                           [&](const DialogTemplate& d) { return d.id == dialog.id; });
    if (it != g_dialogs.end()) {
        *it = std::move(dialog);
    } else {
        g_dialogs.push_back(std::move(dialog));
    }
}

const DialogTemplate* FindDialogResource(int id) {
    auto it = std::find_if(g_dialogs.begin(), g_dialogs.end(),
                           [&](const DialogTemplate& d) { return d.id == id; });
    return it == g_dialogs.end() ? nullptr : &*it;
}

void ClearDialogResources() {
    g_dialogs.clear();
}
