#pragma once
// Resource ids the program's windows ask for: the RT_HTML pages and the window icons.

namespace htmlayout {

inline constexpr unsigned kProgressPageId = 117;
inline constexpr unsigned kMsgBoxPageId = 191;
inline constexpr unsigned kAboutPageId = 192;
inline constexpr wchar_t kMainPageName[] = L"MAIN_SKIN";

inline constexpr unsigned kLargeIconId = 103;
inline constexpr unsigned kSmallIconId = 102;

} // namespace htmlayout
