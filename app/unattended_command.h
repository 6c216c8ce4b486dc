#pragma once
// The command line of an unattended run: "-clean [all | GROUP...] [-keep-running-browsers]".
#include "settings/clean_item_catalogue.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A group as the command line names it.
struct CommandGroup {
    CleanGroup code;
    std::wstring_view name;
};
std::span<const CommandGroup> CommandGroups();

struct UnattendedCommand {
    enum class Scope { SavedSelection, Everything, Groups };
    Scope scope = Scope::SavedSelection;
    std::vector<CleanGroup> groups; // Scope::Groups: each once, in the order first named
    bool keepRunningBrowsers = false;
};

struct ParsedCommand {
    std::optional<UnattendedCommand> command;
    std::wstring error; // when there is no command: what is wrong, for the user
};

// Whether the arguments ask for an unattended run at all; every other command line opens the window.
bool IsUnattendedCommand(std::span<const std::wstring> arguments);
ParsedCommand ParseUnattendedCommand(std::span<const std::wstring> arguments);
// What the program prints with a bad command line; lines end with CRLF.
std::wstring UnattendedUsage();
