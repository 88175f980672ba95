// lumitool's data commands: archives, tables and settings files, read and
// written by the engine's own data layer, so the tool sees exactly what the
// programs see.
#include "base/ansi_text.h"
#include "base/text16.h"
#include "data/archive.h"
#include "data/file_io.h"
#include "data/mg_database.h"
#include "data/mg_file.h"
#include "data/tab_database.h"
#include "tool_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// --- Arguments and output ------------------------------------------------------

// Positional arguments and "--name value" options.
struct Arguments {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;
    std::string error;
};

Arguments ParseArguments(const std::vector<std::string>& args,
                         std::initializer_list<const char*> optionNames) {
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            parsed.positional.push_back(arg);
            continue;
        }
        bool known = std::any_of(optionNames.begin(), optionNames.end(),
                                 [&](const char* name) { return arg == name; });
        if (!known) {
            parsed.error = "unknown option " + arg;
        } else if (i + 1 >= args.size()) {
            parsed.error = arg + " needs a value";
        } else {
            parsed.options.emplace_back(arg, args[++i]);
            continue;
        }
        return parsed;
    }
    return parsed;
}

std::optional<std::string> Option(const Arguments& args, std::string_view name) {
    std::optional<std::string> value;
    for (const auto& [key, text] : args.options) {
        if (key == name) {
            value = text; // the last one given wins
        }
    }
    return value;
}

int Usage(const char* command, const char* usage) {
    return ToolError(std::string("usage: lumitool ") + command + " " + usage);
}

// Writes to stdout; a closed pipe or a full disk shows in FinishOutput, not
// as a signal.
void WriteOut(std::string_view bytes) {
    std::signal(SIGPIPE, SIG_IGN);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

int FinishOutput() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        return ToolError("cannot write to standard output");
    }
    return 0;
}

std::u16string ArgumentText(const std::string& arg) {
    return AnsiToUtf16(arg);
}

// --- JSON ----------------------------------------------------------------------

void AppendJsonString(std::string& out, std::u16string_view text) {
    out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                    text[i + 1] <= 0xDFFF;
        char escape[8];
        switch (c) {
        case u'"':
            out += "\\\"";
            break;
        case u'\\':
            out += "\\\\";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        case u'\b':
            out += "\\b";
            break;
        case u'\f':
            out += "\\f";
            break;
        default:
            if (pair) {
                out += Utf16ToUtf8(text.substr(i, 2));
                ++i;
            } else if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF)) {
                // Control characters and unpaired surrogates, which UTF-8
                // cannot carry, as escapes.
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += Utf16ToUtf8(text.substr(i, 1));
            }
        }
    }
    out += '"';
}

std::string JsonFloat(float value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[64];
    char* end = std::to_chars(text, text + sizeof text, value).ptr;
    std::string number(text, end);
    if (number.find_first_of(".e") == std::string::npos) {
        number += ".0"; // stays a float to JSON readers
    }
    return number;
}

// --- Archives ------------------------------------------------------------------

// An archive file read into memory and opened by a file service.
struct OpenedArchive {
    std::vector<std::uint8_t> bytes;
    std::unique_ptr<CMGFile> files;
};

std::optional<OpenedArchive> OpenArchiveFile(const std::string& path, std::string* error) {
    auto bytes = ReadRegularFile(path);
    if (!bytes) {
        *error = path + ": cannot read the file";
        return std::nullopt;
    }
    OpenedArchive archive{std::move(*bytes), std::make_unique<CMGFile>()};
    if (archive.files->OpenArchive(archive.bytes) == 0) {
        *error = path + ": not an archive, or its tables are cut short";
        return std::nullopt;
    }
    return archive;
}

int Pack(const std::vector<std::string>& raw) {
    Arguments args = ParseArguments(raw, {"--maker"});
    if (!args.error.empty()) {
        return ToolError(args.error);
    }
    if (args.positional.size() != 2) {
        return Usage("pack", "DIR OUT [--maker NAME]");
    }
    const std::string& folder = args.positional[0];
    const std::string& out = args.positional[1];
    std::string maker = Option(args, "--maker").value_or("");

    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) {
        return ToolError(folder + ": cannot list the folder (" + error.message() + ")");
    }
    std::vector<ArchiveSource> sources;
    for (const fs::directory_entry& entry : it) {
        if (!entry.is_regular_file(error)) {
            continue;
        }
        std::string path = entry.path().string();
        auto bytes = ReadRegularFile(path);
        if (!bytes) {
            return ToolError(path + ": cannot read the file");
        }
        sources.push_back(ArchiveSource{ArgumentText(entry.path().filename().string()),
                                        std::move(*bytes), kArchivePlain});
    }
    BuiltArchive archive = BuildArchive(std::move(sources), maker);
    if (!archive.error.empty()) {
        return ToolError(out + ": " + archive.error);
    }
    mode_t mask = ::umask(0);
    ::umask(mask);
    if (!WriteFileAtomically(out, archive.bytes, 0666 & ~mask)) {
        return ToolError(out + ": cannot write the archive");
    }
    return 0;
}

int List(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return Usage("list", "ARCHIVE");
    }
    std::string error;
    auto archive = OpenArchiveFile(args[0], &error);
    if (!archive) {
        return ToolError(error);
    }
    std::string text;
    for (const ArchiveEntry& entry : archive->files->Entries()) {
        text += std::string(entry.Name()) + "\t" + std::to_string(entry.size) + "\t" +
                std::to_string(entry.Method()) + "\n";
    }
    WriteOut(text);
    return FinishOutput();
}

int Cat(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return Usage("cat", "ARCHIVE NAME");
    }
    std::string error;
    auto archive = OpenArchiveFile(args[0], &error);
    if (!archive) {
        return ToolError(error);
    }
    std::u16string name = ArgumentText(args[1]);
    const ArchiveEntry* entry = archive->files->FindEntry(name.c_str());
    if (entry == nullptr) {
        return ToolError(args[1] + ": not found in " + args[0]);
    }
    std::string bytes(entry->size, '\0');
    archive->files->ReadEntry(*entry, reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
    WriteOut(bytes);
    return FinishOutput();
}

// A name that is safe as a file name inside the output folder.
bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

int Unpack(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return Usage("unpack", "ARCHIVE DIR");
    }
    std::string error;
    auto archive = OpenArchiveFile(args[0], &error);
    if (!archive) {
        return ToolError(error);
    }
    const CMGFile& files = *archive->files;
    // Everything is checked before anything is written.
    for (const ArchiveEntry& entry : files.Entries()) {
        if (!IsPlainFileName(entry.Name())) {
            return ToolError(args[0] + ": entry name \"" + std::string(entry.Name()) +
                             "\" is not a plain file name");
        }
        if (!files.EntryInArchive(entry)) {
            return ToolError(args[0] + ": entry \"" + std::string(entry.Name()) +
                             "\" reaches outside the archive");
        }
    }
    std::error_code fsError;
    fs::create_directories(args[1], fsError);
    if (fsError) {
        return ToolError(args[1] + ": cannot create the folder (" + fsError.message() + ")");
    }
    std::set<std::string_view> written;
    mode_t mask = ::umask(0);
    ::umask(mask);
    for (const ArchiveEntry& entry : files.Entries()) {
        // A name stored twice delivers its first entry, as a lookup would.
        if (!written.insert(entry.Name()).second) {
            continue;
        }
        std::vector<std::uint8_t> bytes(entry.size);
        files.ReadEntry(entry, bytes.data(), bytes.size());
        std::string path = (fs::path(args[1]) / std::string(entry.Name())).string();
        if (!WriteFileAtomically(path, bytes, 0666 & ~mask)) {
            return ToolError(path + ": cannot write the file");
        }
    }
    return 0;
}

// --- Tables and settings ----------------------------------------------------

int Table(const std::vector<std::string>& raw) {
    Arguments args = ParseArguments(raw, {"--read-format"});
    if (!args.error.empty()) {
        return ToolError(args.error);
    }
    if (args.positional.size() != 1) {
        return Usage("table", "FILE [--read-format N]");
    }
    int readFormat = CTabDataBase::kDetect;
    if (auto text = Option(args, "--read-format")) {
        auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), readFormat);
        if (ec != std::errc() || end != text->data() + text->size() || readFormat < 0 ||
            readFormat > 3) {
            return ToolError("--read-format must be 0, 1, 2 or 3");
        }
    }
    CMGFile files;
    files.absolutePathMode = true;
    CTabDataBase table;
    table.readFormat = readFormat;
    std::u16string path = ArgumentText(args.positional[0]);
    if (table.Load(path.c_str()) == 0) {
        return ToolError(args.positional[0] + ": cannot load the table");
    }
    std::string json = "{\"created\": ";
    json += table.IsCreated() ? "true" : "false";
    json += ", \"rows\": " + std::to_string(table.Rows());
    json += ", \"columns\": " + std::to_string(table.Columns());
    json += ", \"cells\": [";
    for (int row = 0; row < table.Rows(); ++row) {
        json += row > 0 ? ", [" : "[";
        for (int column = 0; column < table.Columns(); ++column) {
            json += column > 0 ? ", " : "";
            if (const char16_t* cell = table.GetCell(row, column)) {
                AppendJsonString(json, cell);
            } else {
                json += "null";
            }
        }
        json += "]";
    }
    json += "]}\n";
    WriteOut(json);
    return FinishOutput();
}

int Settings(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        return Usage("settings", "FILE");
    }
    CMGFile files;
    files.absolutePathMode = true;
    std::u16string path = ArgumentText(args[0]);
    DWORD size = 0;
    ByteBlock bytes(files.LoadFile(path.c_str(), &size));
    if (!bytes) {
        return ToolError(args[0] + ": cannot read the file");
    }
    CMGDataBase store;
    store.Load(bytes.get(), size);

    std::string json = "{\"section\": ";
    AppendJsonString(json, AnsiToUtf16(store.Section()));
    json += ", \"entries\": [";
    bool first = true;
    for (const auto& [key, value] : store.Entries()) {
        json += first ? "{\"key\": " : ", {\"key\": ";
        first = false;
        AppendJsonString(json, key);
        switch (value.type) {
        case CMGDataBase::kInt:
            json += ", \"type\": \"int\", \"value\": " + std::to_string(value.AsInt());
            break;
        case CMGDataBase::kFloat:
            json += ", \"type\": \"float\", \"value\": " + JsonFloat(value.AsFloat());
            break;
        case CMGDataBase::kString:
            json += ", \"type\": \"string\", \"value\": ";
            AppendJsonString(json, value.text);
            break;
        default:
            json += ", \"type\": \"none\", \"value\": null";
            break;
        }
        json += "}";
    }
    json += "]}\n";
    WriteOut(json);
    return FinishOutput();
}

const ToolCommand kDataCommands[] = {
    {"pack", "DIR OUT [--maker NAME]", Pack},
    {"list", "ARCHIVE", List},
    {"cat", "ARCHIVE NAME", Cat},
    {"unpack", "ARCHIVE DIR", Unpack},
    {"table", "FILE [--read-format N]", Table},
    {"settings", "FILE", Settings},
};

} // namespace

std::span<const ToolCommand> DataCommands() {
    return kDataCommands;
}
