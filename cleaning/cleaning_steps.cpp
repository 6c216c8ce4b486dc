#include "cleaning/cleaning_steps.h"

#include <algorithm>
#include <utility>

namespace {

using A = CleanAction;

constexpr std::pair<std::wstring_view, CleanAction> kActions[] = {
    {L"temp_files", A::TempFiles},
    {L"clip_board", A::Clipboard},
    {L"recycle_bin", A::RecycleBin},
    {L"os_dialog", A::OpenSaveHistory},
    {L"media_player", A::MediaPlayerHistory},
    {L"ms_paint", A::PaintHistory},
    {L"word_pad", A::WordPadHistory},
    {L"recent_doc", A::RecentDocuments},
    {L"run_history", A::RunHistory},
    {L"window_search", A::SearchHistory},
    {L"find_comp", A::FindComputerHistory},
    {L"network_history", A::NetworkHistory},
    {L"logon_user", A::LogonUserName},
    {L"ie_autoformsNpwd", A::IeAutoFormsAndPasswords},
    {L"ie_browserhistory", A::IeBrowserHistory},
    {L"ie_cache", A::IeCache},
    {L"ie_cookies", A::IeCookies},
    {L"ie_downloadlocation", A::Nothing},
    {L"ie_index", A::IeIndexFiles},
    {L"ie_urls", A::IeTypedUrls},
    {L"ff_autoform", A::FfAutoForms},
    {L"ff_cache", A::FfCache},
    {L"ff_cookies", A::FfCookies},
    {L"ff_downloadhistory", A::FfDownloadHistory},
    {L"ff_lastsession", A::FfLastSession},
    {L"ff_pwd", A::FfPasswords},
    {L"ff_urls", A::FfUrls},
    {L"gc_cache", A::ChromiumCache},
    {L"gc_cookies", A::ChromiumCookies},
    {L"gc_downloadhistory", A::ChromiumDownloadHistory},
    {L"gc_pwd", A::ChromiumPasswords},
    {L"gc_urls", A::ChromiumUrls},
    {L"gc_lastsession", A::ChromiumLastSession},
    {L"me_cache", A::ChromiumCache},
    {L"me_cookies", A::ChromiumCookies},
    {L"me_downloadhistory", A::ChromiumDownloadHistory},
    {L"me_pwd", A::ChromiumPasswords},
    {L"me_urls", A::ChromiumUrls},
    {L"me_lastsession", A::ChromiumLastSession},
    {L"br_cache", A::ChromiumCache},
    {L"br_cookies", A::ChromiumCookies},
    {L"br_downloadhistory", A::ChromiumDownloadHistory},
    {L"br_pwd", A::ChromiumPasswords},
    {L"br_urls", A::ChromiumUrls},
    {L"br_lastsession", A::ChromiumLastSession},
};
static_assert(std::size(kActions) == kCleanItemCount);

CleanAction ActionOf(std::wstring_view boxId) {
    auto it = std::find_if(std::begin(kActions), std::end(kActions), [&](auto& a) { return a.first == boxId; });
    return it != std::end(kActions) ? it->second : A::Nothing;
}

} // namespace

std::vector<CleaningStep> StepsOfGroup(CleanGroup group) {
    std::vector<CleaningStep> steps;
    for (const CatalogueEntry* item : ItemsInRunOrder(group)) steps.push_back({item, ActionOf(item->boxId)});
    return steps;
}

std::span<const CleanGroup> GroupsInRunOrder() {
    static const std::vector<CleanGroup> order = [] {
        std::vector<CleanGroup> groups;
        for (const CleanGroupInfo& info : CleanGroups()) groups.push_back(info.code);
        return groups;
    }();
    return order;
}
