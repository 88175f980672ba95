// lumitool's data commands.
#include "tool_command.h"

std::span<const ToolCommand> DataCommands() { return {}; }
