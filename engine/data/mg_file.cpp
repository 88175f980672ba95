#include "mg_file.h"

#include "base/format16.h"
#include "platform/platform.h"

#include <string>

namespace {
CMGFile* g_service = nullptr;
}

CMGFile::CMGFile() {
    std::u16string path = Sys().ExecutablePath();
    if (path.size() >= kPathUnits) {
        path.resize(kPathUnits - 1);
    }
    // The folder keeps its trailing separator; without one the whole path
    // is the file name.
    std::size_t slash = path.rfind(u'/');
    std::size_t nameStart = slash == std::u16string::npos ? 0 : slash + 1;
    CopyBounded(programFolder_, std::u16string_view(path).substr(0, nameStart));
    std::u16string_view fileName = std::u16string_view(path).substr(nameStart);
    // Linux programs have no extension as a rule; one that has one (a
    // trailing ".exe" brought from elsewhere) loses it.
    std::size_t dot = fileName.rfind(u'.');
    if (dot != std::u16string_view::npos && dot > 0) {
        fileName = fileName.substr(0, dot);
    }
    CopyBounded(appName_, fileName);
    Format16To(programIni_, u"%s%s.ini",
               {std::u16string_view(programFolder_), std::u16string_view(appName_)});
    CopyBounded(settingsIni_, programIni_);
    if (g_service == nullptr) {
        g_service = this;
    }
}

CMGFile::~CMGFile() {
    if (g_service == this) {
        g_service = nullptr;
    }
}

CMGFile* CMGFile::Service() {
    return g_service;
}
