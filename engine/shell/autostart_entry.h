// The autostart entry that makes a gadget start at login: a desktop entry
// in the user's autostart folder whose Exec is the program's own path.
#pragma once

#include <string>

// "$XDG_CONFIG_HOME/autostart/<name>", with a ".lnk" ending replaced by
// ".desktop".
std::u16string AutostartEntryPath(std::u16string_view shortcutName);
bool AutostartEntryExists(const std::u16string& path);
// Writes the entry for the executable (for an installed program, its
// launcher in <prefix>/bin); false when it cannot be written.
bool WriteAutostartEntry(const std::u16string& path, std::u16string_view name,
                         std::u16string_view executable);
void RemoveAutostartEntry(const std::u16string& path);
