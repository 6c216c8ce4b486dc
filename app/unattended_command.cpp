#include "app/unattended_command.h"

#include <windows.h>

#include <algorithm>

namespace {

// One row per group; the names are what an administrator types.
constexpr CommandGroup kCommandGroups[] = {
    {CleanGroup::WindowsCleaning, L"windows"}, {CleanGroup::Programs, L"programs"},
    {CleanGroup::StartMenu, L"startmenu"},     {CleanGroup::InternetExplorer, L"ie"},
    {CleanGroup::Firefox, L"firefox"},         {CleanGroup::Chrome, L"chrome"},
    {CleanGroup::MicrosoftEdge, L"edge"},      {CleanGroup::Brave, L"brave"},
};

constexpr std::wstring_view kClean = L"-clean";
constexpr std::wstring_view kKeepRunningBrowsers = L"-keep-running-browsers";
constexpr std::wstring_view kAll = L"all";
// An argument is quoted back at most this long: a command line can hold 32,767 characters.
constexpr size_t kQuotedLength = 64;

bool SameText(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                                        static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring Quoted(std::wstring_view argument) {
    if (argument.size() <= kQuotedLength) return L"\"" + std::wstring(argument) + L"\"";
    return L"\"" + std::wstring(argument.substr(0, kQuotedLength)) + L"...\"";
}

ParsedCommand Bad(std::wstring error) {
    return ParsedCommand{std::nullopt, std::move(error)};
}

} // namespace

std::span<const CommandGroup> CommandGroups() {
    return kCommandGroups;
}

bool IsUnattendedCommand(std::span<const std::wstring> arguments) {
    return std::any_of(arguments.begin(), arguments.end(), [](const std::wstring& argument) {
        return SameText(argument, kClean) || SameText(argument, kKeepRunningBrowsers);
    });
}

ParsedCommand ParseUnattendedCommand(std::span<const std::wstring> arguments) {
    UnattendedCommand command;
    bool clean = false, all = false;
    for (const std::wstring& argument : arguments) {
        if (SameText(argument, kClean)) {
            if (clean) return Bad(L"-clean is given twice.");
            clean = true;
        } else if (SameText(argument, kKeepRunningBrowsers)) {
            command.keepRunningBrowsers = true;
        } else if (argument.starts_with(L'-') || argument.starts_with(L'/')) {
            return Bad(L"Unknown option " + Quoted(argument) + L".");
        } else if (SameText(argument, kAll)) {
            all = true;
        } else {
            auto group = std::find_if(std::begin(kCommandGroups), std::end(kCommandGroups),
                                      [&](const CommandGroup& g) { return SameText(argument, g.name); });
            if (group == std::end(kCommandGroups)) return Bad(L"Unknown group " + Quoted(argument) + L".");
            // A group named twice is cleaned once.
            if (std::find(command.groups.begin(), command.groups.end(), group->code) == command.groups.end())
                command.groups.push_back(group->code);
        }
    }
    if (!clean) return Bad(L"-keep-running-browsers goes with -clean.");
    if (all && !command.groups.empty()) return Bad(L"\"all\" cannot be combined with group names.");
    if (all)
        command.scope = UnattendedCommand::Scope::Everything;
    else if (!command.groups.empty())
        command.scope = UnattendedCommand::Scope::Groups;
    return ParsedCommand{command, {}};
}

std::wstring UnattendedUsage() {
    std::wstring names;
    for (const CommandGroup& group : kCommandGroups)
        names.append(names.empty() ? L"" : L", ").append(group.name);
    std::wstring usage = L"Usage: Tracewipe.exe -clean [all | GROUP...] [-keep-running-browsers]\r\n";
    usage += L"  -clean                  cleans the saved selection, as Clean Now does\r\n";
    usage +=
        L"  -clean all              cleans every item, as Clean All does; the selection is not saved\r\n";
    usage += L"  -clean GROUP...         cleans the saved selection of these groups only: " + names + L"\r\n";
    usage += L"  -keep-running-browsers  leaves out the group of a running browser instead of ending it\r\n";
    usage += L"No window opens; the report goes here and to %LOCALAPPDATA%\\Tracewipe\\clean.log.\r\n";
    usage += L"Exit codes: 0 everything cleaned, 1 something stayed, 2 bad command line,\r\n";
    usage += L"            3 another cleaning run is going on.\r\n";
    return usage;
}
