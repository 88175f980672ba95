// lumitool: archives, tables, settings and images for skin makers and
// support, over the engine's own readers and writers.
#include "platform/platform_registry.h"
#include "tool_command.h"

#include <array>
#include <cstdio>
#include <exception>
#include <string_view>

int ToolError(const std::string& message) {
    std::fprintf(stderr, "lumitool: %s\n", message.c_str());
    return 1;
}

namespace {

std::array<std::span<const ToolCommand>, 3> AllGroups() {
    return {DataCommands(), ImageCommands(), CalendarCommands()};
}

int Usage() {
    std::fputs("usage: lumitool COMMAND ARGS...\n", stderr);
    for (auto group : AllGroups()) {
        for (const ToolCommand& command : group) {
            std::fprintf(stderr, "  lumitool %s %s\n", command.name, command.usage);
        }
    }
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return Usage();
    }
    // The engine's file service and message boxes go through the seam; the
    // headless backend keeps them off the screen.
    SelectPlatform("headless");
    std::string_view name = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    for (auto group : AllGroups()) {
        for (const ToolCommand& command : group) {
            if (name == command.name) {
                try {
                    return command.run(args);
                } catch (const std::exception& error) {
                    return ToolError(error.what());
                }
            }
        }
    }
    return Usage();
}
