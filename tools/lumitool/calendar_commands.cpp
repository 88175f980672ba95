// The calendar command: the day codes the calendars compute for a month,
// for checking a holiday file against the official list.
#include "base/text16.h"
#include "calendar/calendar_rules.h"
#include "data/mg_file.h"
#include "tool_command.h"

#include <charconv>
#include <cstdio>

namespace {

bool ParseInt(const std::string& text, int* value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return ec == std::errc() && end == text.data() + text.size();
}

void AppendJsonString(std::string& json, const char16_t* text) {
    json += '"';
    for (char c : Utf16ToUtf8(text)) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
            json += escaped;
        } else {
            json += c;
        }
    }
    json += '"';
}

int DayCodesCommand(const std::vector<std::string>& args) {
    int year = 0;
    int month = 0;
    if (args.size() != 3 || !ParseInt(args[1], &year) || !ParseInt(args[2], &month) || month < 1 ||
        month > 12) {
        return ToolError("usage: lumitool daycodes HOLIDAYS YEAR MONTH (month 1-12)");
    }
    // The holiday file is read as the calendars read it: ANSI text.
    CMGFile files;
    files.absolutePathMode = true;
    CTabDataBase holidays;
    holidays.readFormat = CTabDataBase::kAnsi;
    holidays.saveFormat = CTabDataBase::kAnsi;
    std::u16string path = Utf8ToUtf16(args[0]);
    if (holidays.Load(path.c_str()) == 0) {
        return ToolError(args[0] + ": cannot load the holiday file");
    }
    DayCodes codes = BuildDayCodes(holidays, year, month);

    std::string json = "{\"firstWeekday\": " + std::to_string(WeekdayOfFirst(year, month));
    json += ", \"days\": " + std::to_string(DaysInMonth(year, month));
    json += ", \"codes\": [";
    for (std::size_t i = 0; i < codes.size(); ++i) {
        json += (i > 0 ? ", " : "") + std::to_string(codes[i]);
    }
    json += "], \"labels\": [";
    for (std::size_t i = 0; i < codes.size(); ++i) {
        json += i > 0 ? ", " : "";
        if (const char16_t* label = DayLabel(holidays, codes[i])) {
            AppendJsonString(json, label);
        } else {
            json += "null";
        }
    }
    json += "]}\n";
    std::fwrite(json.data(), 1, json.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : ToolError("cannot write the output");
}

const ToolCommand kCalendarCommands[] = {
    {"daycodes", "HOLIDAYS YEAR MONTH", DayCodesCommand},
};

} // namespace

std::span<const ToolCommand> CalendarCommands() {
    return kCalendarCommands;
}
