// The private-profile (ini file) operations the programs keep their
// settings with, with the original semantics: sections and keys compared
// case-insensitively (ASCII), the default when the file, section or key is
// missing, other sections and lines kept as they are. Files are read as
// UTF-8 (or the other encodings of AnsiToUtf16, or UTF-16 with a byte-order
// mark) and written as UTF-8, replaced atomically on every write.
#pragma once

#include "platform/win32_types.h"

// The value's leading sign and decimal digits, 0 when there are none; the
// default when the key is missing or its value is empty.
int GetPrivateProfileInt(const char16_t* section, const char16_t* key, int defaultValue,
                         const char16_t* file);

// Copies the value (spaces around it and one pair of enclosing quotes
// removed), or the default (none = empty, trailing spaces removed), into
// buffer, cut at size - 1 units and terminated. Returns the units copied.
// With no key: the section's key names; with no section: the section names;
// each terminated, the list ending in an extra terminator, and the count
// without that last terminator (size - 2 when cut).
DWORD GetPrivateProfileString(const char16_t* section, const char16_t* key,
                              const char16_t* defaultValue, char16_t* buffer, DWORD size,
                              const char16_t* file);

// Sets key=value in the section, adding the section at the end and the key
// after the section's last line when missing. No value deletes the key, no
// key deletes the whole section. Returns 0 when the file cannot be written
// (it then keeps its old content).
BOOL WritePrivateProfileString(const char16_t* section, const char16_t* key, const char16_t* value,
                               const char16_t* file);
