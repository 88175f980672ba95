#include "autostart_entry.h"

#include "base/text16.h"
#include "data/file_io.h"
#include "platform/platform.h"

#include <filesystem>
#include <system_error>

namespace {

// Exec values with reserved characters are quoted, with '"', '`', '$' and
// '\' escaped inside the quotes; the entry's own string escapes double
// every backslash once more.
std::string QuoteExec(const std::string& path) {
    if (path.find_first_of(" \t\"'\\><~|&;$*?#()`") == std::string::npos) {
        return path;
    }
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '\\') {
            quoted += "\\\\\\\\";
        } else if (c == '"' || c == '`' || c == '$') {
            quoted += "\\\\";
            quoted += c;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

// An installed gadget lives in <prefix>/lib/lumi/ and is started through
// the link <prefix>/bin/<name>; the entry then runs that link, the same
// command the applications menu runs. Anywhere else, the program itself.
std::string AutostartCommand(const std::string& executable) {
    namespace fs = std::filesystem;
    fs::path program(executable);
    fs::path folder = program.parent_path();
    if (folder.filename() != "lumi" || folder.parent_path().filename() != "lib") {
        return executable;
    }
    fs::path launcher = folder.parent_path().parent_path() / "bin" / program.filename();
    std::error_code error;
    return fs::equivalent(launcher, program, error) ? launcher.string() : executable;
}

} // namespace

std::u16string AutostartEntryPath(std::u16string_view shortcutName) {
    std::u16string name(shortcutName);
    constexpr std::u16string_view kLinkSuffix = u".lnk";
    if (name.size() >= kLinkSuffix.size() &&
        EqualsIgnoringAsciiCase(std::u16string_view(name).substr(name.size() - kLinkSuffix.size()),
                                kLinkSuffix)) {
        name.resize(name.size() - kLinkSuffix.size());
    }
    return Sys().ConfigHome() + u"/autostart/" + name + u".desktop";
}

bool AutostartEntryExists(const std::u16string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(NativePath(path), error);
}

bool WriteAutostartEntry(const std::u16string& path, std::u16string_view name,
                         std::u16string_view executable) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(NativePath(path)).parent_path(),
                                        error);
    std::string entry = "[Desktop Entry]\n"
                        "Type=Application\n"
                        "Name=" +
                        Utf16ToUtf8(name) +
                        "\n"
                        "Exec=" +
                        QuoteExec(AutostartCommand(Utf16ToUtf8(executable))) +
                        "\n"
                        "X-GNOME-Autostart-enabled=true\n";
    return WriteFileAtomically(NativePath(path), entry);
}

void RemoveAutostartEntry(const std::u16string& path) {
    std::error_code ignored;
    std::filesystem::remove(NativePath(path), ignored);
}
