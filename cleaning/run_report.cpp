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
            // "ran", not "cleaned": what each item found and removed is not counted yet.
            report.append(outcome.stayed.empty() ? L": ran\r\n" : L": ran, something stayed\r\n");
            for (const std::wstring& what : outcome.stayed)
                report.append(L"    stayed: ").append(what).append(L"\r\n");
        }
    }
    return report;
}

bool SomethingStayed(const std::vector<StepOutcome>& outcomes) {
    return std::any_of(outcomes.begin(), outcomes.end(),
                       [](const StepOutcome& o) { return !o.stayed.empty(); });
}
