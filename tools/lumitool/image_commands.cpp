// lumitool's image commands.
#include "tool_command.h"

std::span<const ToolCommand> ImageCommands() { return {}; }
