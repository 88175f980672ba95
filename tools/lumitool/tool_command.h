// lumitool's commands: each group of commands lives in its own file and
// lists its entries in a table that main.cpp joins.
#pragma once

#include <span>
#include <string>
#include <vector>

struct ToolCommand {
    const char* name;
    const char* usage; // arguments, for the help text
    // Returns the process exit code. Errors are one line on stderr.
    int (*run)(const std::vector<std::string>& args);
};

// One table per command group.
std::span<const ToolCommand> DataCommands();
std::span<const ToolCommand> ImageCommands();
std::span<const ToolCommand> CalendarCommands();

// Reports a failure the way every command does: "lumitool: <message>" on
// stderr; returns the exit code to use.
int ToolError(const std::string& message);
