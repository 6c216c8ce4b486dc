#pragma once
// "Check for Updates": asks the maker's web server for the latest version and tells the user the result.
#include <functional>
#include <string>

// The maker's web site. A reserved example host until the project has a site of its own, so that no
// third party's server is ever asked.
inline constexpr wchar_t kMakerSiteHost[] = L"www.example.com";

// Shows one message (title, text); the main window binds it to its message box.
using ShowMessage = std::function<void(const std::wstring& title, const std::wstring& text)>;

// The address the check asks: the http scheme, the maker's host and the version page.
std::wstring VersionCheckUrl();

// Synchronous: blocks the calling thread for up to the HTTP client's timeouts. Shows at most one message.
void CheckVersion(const ShowMessage& show, const std::wstring& url = VersionCheckUrl());
