#include "update/version_check.h"

#include "update/http_client.h"
#include "update/version_answer.h"

namespace {

constexpr wchar_t kVersionPath[] = L"/php/database/tracewipe/checkversion-tw.php";
constexpr wchar_t kProgramVersion[] = L"1.0.0";

constexpr wchar_t kNewVersionTitle[] = L"New Version Available";
constexpr wchar_t kNewVersionText[] =
    L"New Version of Tracewipe is available. Please download the latest version from ";
constexpr wchar_t kUpdatedTitle[] = L"Updated Version";
constexpr wchar_t kUpdatedText[] = L"You have latest version of Tracewipe"; // then the version and "."
constexpr wchar_t kFailedTitle[] = L"Connection Failed";
constexpr wchar_t kFailedText[] =
    L"Please check again later. Currently your internet connection is unavailable or the server is down.";

} // namespace

std::wstring VersionCheckUrl() {
    return std::wstring(L"http://") + kMakerSiteHost + kVersionPath;
}

void CheckVersion(const ShowMessage& show, const std::wstring& url) {
    HttpClient client(url);
    client.SendRequest(); // judged by the response alone
    switch (ReadVersionAnswer(client.Response(), kProgramVersion)) {
    case VersionAnswer::UpToDate:
        show(kUpdatedTitle, kUpdatedText + std::wstring(kProgramVersion) + L".");
        break;
    case VersionAnswer::Newer:
        show(kNewVersionTitle, kNewVersionText + std::wstring(kMakerSiteHost));
        break;
    case VersionAnswer::NoAnswer:
        show(kFailedTitle, kFailedText);
        break;
    case VersionAnswer::NotOurs: // an error page, a blank line: nothing is shown
        break;
    }
}
