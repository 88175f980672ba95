// The engine's gateway to files: loose files in the program folder first,
// then the archive linked into the executable; it also owns the per-user
// save folder and settings file paths.
#pragma once

#include "base/text16.h"

class CMGFile {
public:
    CMGFile();
    virtual ~CMGFile();
    CMGFile(const CMGFile&) = delete;
    CMGFile& operator=(const CMGFile&) = delete;

    // The first file service constructed in the process, or nullptr.
    static CMGFile* Service();

    const char16_t* ProgramFolder() const { return programFolder_; }
    const char16_t* AppName() const { return appName_; }
    const char16_t* ProgramIni() const { return programIni_; }
    const char16_t* SaveFolder() const { return saveFolder_; }
    const char16_t* SettingsIni() const { return settingsIni_; }

    bool absolutePathMode = false;

private:
    char16_t programFolder_[kPathUnits] = {};
    char16_t appName_[kPathUnits] = {};
    char16_t programIni_[kPathUnits] = {};
    char16_t saveFolder_[kPathUnits] = {};
    char16_t settingsIni_[kPathUnits] = {};
};
