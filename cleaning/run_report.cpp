#include "cleaning/run_report.h"

#include <algorithm>

namespace {

std::wstring_view NameOf(CleanGroup group) {
    for (const CleanGroupInfo& info : CleanGroups())
        if (info.code == group) return info.name;
    return L"?";
}

// Labels carry the page's stray spaces ("Run History ").
std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && text.back() == L' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

std::wstring RunReport(const std::vector<StepOutcome>& outcomes, const std::vector<SkippedGroup>& skipped) {
    std::wstring report;
    for (CleanGroup group : GroupsInRunOrder()) {
        const auto skip =
            std::find_if(skipped.begin(), skipped.end(), [&](auto& s) { return s.group == group; });
        const bool ran =
            std::any_of(outcomes.begin(), outcomes.end(), [&](auto& o) { return o.item->group == group; });
        if (skip == skipped.end() && !ran) continue;
        report.append(NameOf(group)).append(L"\r\n");
        if (skip != skipped.end()) report.append(L"  skipped: ").append(skip->reason).append(L"\r\n");
        for (const StepOutcome& outcome : outcomes) {
            if (outcome.item->group != group) continue;
            report.append(L"  ").append(Trimmed(outcome.item->label));
            report.append(L": ").append(OutcomeText(outcome)).append(L"\r\n");
            for (const std::wstring& what : outcome.stayed)
                report.append(L"    stayed: ").append(what).append(L"\r\n");
        }
    }
    return report;
}

bool SomethingStayed(const std::vector<StepOutcome>& outcomes) {
    return std::any_of(outcomes.begin(), outcomes.end(), [](const StepOutcome& o) { return o.SomethingStayed(); });
}

namespace {

// What the re-check still counts, or, for an item it does not count, what its cleaner reported first.
std::wstring StayedText(const StepOutcome& outcome) {
    const ItemFigures& after = outcome.after;
    ItemFigures counted = after;
    counted.inUse = false;
    // Nothing counted but a database that could not be read: its rows are unknown.
    if (after.inUse && counted.Nothing()) return L"a database in use";
    if (after.measured && !after.Nothing()) return FoundText(after) + L" stayed";
    return outcome.stayed.empty() ? std::wstring() : outcome.stayed.front();
}

// "a", "a and b", "a, b and c".
std::wstring Listed(const std::vector<std::wstring>& parts) {
    std::wstring text;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) text += i + 1 == parts.size() ? L" and " : L", ";
        text += parts[i];
    }
    return text;
}

} // namespace

std::wstring OutcomeText(const StepOutcome& outcome) {
    // An item whose targets are not counted can only say that it ran.
    if (!outcome.after.measured) return outcome.stayed.empty() ? L"ran" : L"ran, something stayed";
    const ItemFigures& removed = outcome.RemovedFigures();
    std::wstring text = removed.Nothing() ? L"nothing found" : L"removed " + FoundText(removed);
    if (outcome.SomethingStayed()) {
        const std::wstring stayed = StayedText(outcome);
        text += L", " + (stayed.empty() ? std::wstring(L"something stayed") : stayed);
    }
    return text;
}

std::wstring OutcomeLineText(const StepOutcome& outcome) {
    if (!outcome.SomethingStayed()) return OutcomeText(outcome);
    // Counts without sizes: a line has room for the count and the reason.
    const ItemFigures& after = outcome.after;
    std::wstring count = L"something";
    if (after.measured && after.files) count = GroupedNumber(after.files) + (after.files == 1 ? L" file" : L" files");
    else if (after.measured && after.recycled) count = GroupedNumber(after.recycled) + L" items";
    else if (after.measured && after.entries)
        count = GroupedNumber(after.entries) + (after.entries == 1 ? L" entry" : L" entries");
    else if (after.measured && after.records)
        count = GroupedNumber(after.records) + L' ' + RecordNoun(after.recordKind, after.records);
    else if (after.measured && after.formEntries)
        count = GroupedNumber(after.formEntries) + L' ' + RecordNoun(RecordKind::FormEntries, after.formEntries);
    else if (after.measured && after.inUse) count = L"database";
    switch (outcome.reason) {
    case StayedReason::InUse: return count + L" in use";
    case StayedReason::AccessDenied: return count + L": access denied";
    case StayedReason::LinkLeft: return count + L" stayed: a link";
    case StayedReason::HeldByBrowser: return count + L" held by a browser";
    case StayedReason::Unknown: break;
    }
    return count + L" stayed";
}

std::wstring StayedLines(const std::vector<StepOutcome>& outcomes) {
    std::wstring lines;
    for (const StepOutcome& outcome : outcomes) {
        if (!outcome.SomethingStayed()) continue;
        lines.append(NameOf(outcome.item->group)).append(L": ").append(Trimmed(outcome.item->label));
        const std::wstring_view reason = ReasonText(outcome.reason);
        lines.append(L" (").append(reason.empty() ? std::wstring_view(L"something stayed") : reason).append(L")");
        lines.append(L"\n");
    }
    return lines;
}

std::wstring TotalsLine(const std::vector<StepOutcome>& outcomes) {
    uint64_t files = 0, fileBytes = 0, recycled = 0, recycledBytes = 0, entries = 0, records = 0;
    bool anyMeasured = false, allMeasured = true;
    for (const StepOutcome& outcome : outcomes) {
        const ItemFigures& removed = outcome.RemovedFigures();
        allMeasured = allMeasured && removed.measured;
        if (!removed.measured) continue;
        anyMeasured = true;
        files += removed.files;
        recycled += removed.recycled;
        entries += removed.entries;
        records += removed.records + removed.formEntries;
        // Only the Recycle Bin counts items; its bytes are theirs.
        (removed.recycled ? recycledBytes : fileBytes) += removed.bytes;
    }
    std::vector<std::wstring> parts;
    if (files)
        parts.push_back(GroupedNumber(files) + (files == 1 ? L" file (" : L" files (") + SizeText(fileBytes) + L")");
    if (entries) parts.push_back(GroupedNumber(entries) + (entries == 1 ? L" registry entry" : L" registry entries"));
    if (records) parts.push_back(GroupedNumber(records) + (records == 1 ? L" browser record" : L" browser records"));
    if (recycled)
        parts.push_back(GroupedNumber(recycled) + (recycled == 1 ? L" item (" : L" items (") + SizeText(recycledBytes) +
                        L") from the Recycle Bin");
    if (!anyMeasured) return {};
    // Only when every item was counted: an item that is not counted may have removed something.
    if (parts.empty()) return allMeasured ? L"Nothing was found to remove." : std::wstring();
    return L"Removed " + Listed(parts) + L".";
}
