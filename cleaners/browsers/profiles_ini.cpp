#include "cleaners/browsers/profiles_ini.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace {

std::string_view Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") + 1 - first);
}

struct IniLine {
    std::string_view section; // the name between the brackets of the section it is in
    std::string_view key;
    std::string_view value;
};

// The key lines in file order.
std::vector<IniLine> KeyLines(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<IniLine> lines;
    std::string_view section;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string_view trimmed = Trimmed(line);
        if (trimmed.starts_with('[') && trimmed.ends_with(']')) {
            section = trimmed.substr(1, trimmed.size() - 2);
            continue;
        }
        // A "Path" inside another key's value (a profile may be named "Pathfinder") is not the key.
        const size_t equals = line.find('=');
        if (equals != std::string_view::npos)
            lines.push_back({section, Trimmed(line.substr(0, equals)), line.substr(equals + 1)});
    }
    return lines;
}

struct Section {
    std::string_view name;
    std::string_view path;
    bool hasPath = false;
    bool relative = true;
    bool markedDefault = false;
};

} // namespace

// One pass over the lines with the sections looked up by name, so that a file of thousands of sections
// costs no more than reading it. A section written twice counts once, with its last values.
ProfilesIni ParseProfilesIni(std::string_view text) {
    ProfilesIni ini;
    std::vector<Section> sections;
    std::unordered_map<std::string_view, size_t> indexOf;
    std::optional<std::string_view> firstPath;
    for (const IniLine& line : KeyLines(text)) {
        if (line.key == "Path" && !firstPath) firstPath = line.value;
        if (line.section.starts_with("Install") && line.key == "Default") ini.inUse.emplace_back(line.value);
        const auto [at, added] = indexOf.try_emplace(line.section, sections.size());
        if (added) sections.push_back({line.section});
        Section& section = sections[at->second];
        if (line.key == "Path") section.path = line.value, section.hasPath = true;
        if (line.key == "IsRelative") section.relative = Trimmed(line.value) != "0";
        if (line.key == "Default" && Trimmed(line.value) == "1" && line.section.starts_with("Profile"))
            section.markedDefault = true;
    }
    for (const Section& section : sections)
        if (section.markedDefault && section.hasPath) ini.inUse.emplace_back(section.path);
    if (firstPath) ini.inUse.emplace_back(*firstPath);
    for (const Section& section : sections)
        if (section.hasPath) ini.profiles.push_back({std::string(section.path), section.relative});
    return ini;
}
