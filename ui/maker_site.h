#pragma once
// Pages of the maker's web site, opened in the user's browser.
#include <string>
#include <string_view>

namespace htmlayout {

// "http://<maker's host>/buylinks/tracewipe.php?url=<page>".
std::wstring MakerSiteAddress(std::wstring_view page);
// Opens the address with the shell's "open" verb; a failure is ignored.
void OpenAddress(const std::wstring& address);
inline void OpenMakerSitePage(std::wstring_view page) { OpenAddress(MakerSiteAddress(page)); }

} // namespace htmlayout
