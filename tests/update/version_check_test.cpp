#include "update/version_check.h"

#include "local_http_server.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using namespace testing_support;

using Message = std::pair<std::wstring, std::wstring>;

constexpr wchar_t kNewVersion[] = L"New Version Available";
constexpr wchar_t kNewVersionText[] =
    L"New Version of Tracewipe is available. Please download the latest version from www.example.com";

// The real address with the maker's host swapped for the local server, so the path is the one the
// program asks for.
std::wstring LocalVersionUrl(unsigned short port) {
    std::wstring url = VersionCheckUrl();
    const std::wstring host = kMakerSiteHost;
    url.replace(url.find(host), host.size(), L"127.0.0.1:" + std::to_wstring(port));
    return url;
}

std::vector<Message> CheckAgainst(const std::wstring& url) {
    std::vector<Message> shown;
    CheckVersion(
        [&](const std::wstring& title, const std::wstring& text) { shown.emplace_back(title, text); }, url);
    return shown;
}

std::vector<Message> CheckAgainstServerAnswering(const std::string& body) {
    LocalHttpServer server(HttpReply(200, body));
    EXPECT_TRUE(server.Listening());
    std::vector<Message> shown = CheckAgainst(LocalVersionUrl(server.Port()));
    EXPECT_EQ(server.Connections(), 1);
    return shown;
}

TEST(VersionCheck, AsksTheVersionPageOfTheMakersSite) {
    EXPECT_EQ(VersionCheckUrl(), L"http://www.example.com/php/database/tracewipe/checkversion-tw.php");
    LocalHttpServer server(HttpReply(200, "TRWP1.0.0"));
    CheckAgainst(LocalVersionUrl(server.Port()));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].rfind("GET /php/database/tracewipe/checkversion-tw.php HTTP/1.1\r\n", 0),
              0u);
}

TEST(VersionCheck, SameVersionIsReportedUpToDate) {
    const std::vector<Message> expected{{L"Updated Version", L"You have latest version of Tracewipe1.0.0."}};
    EXPECT_EQ(CheckAgainstServerAnswering("TRWP1.0.0"), expected);
}

TEST(VersionCheck, AnyOtherVersionAfterTheCodeIsReportedNewer) {
    const std::vector<Message> expected{{kNewVersion, kNewVersionText}};
    for (const char* body : {"TRWP1.0.1", "TRWP0.9", "TRWP", "TRWP1.0.0\n", "TRWP1.0.0 ", "TRWP 1.0.0"})
        EXPECT_EQ(CheckAgainstServerAnswering(body), expected) << body;
}

TEST(VersionCheck, AnswersWithoutTheCodeShowNothing) {
    for (const char* body : {"trwp1.0.0", "\n", "<html><body>404 Not Found</body></html>", "TRW"})
        EXPECT_TRUE(CheckAgainstServerAnswering(body).empty()) << body;
    LocalHttpServer errorPage(HttpReply(404, "<html>Not here</html>"));
    EXPECT_TRUE(CheckAgainst(LocalVersionUrl(errorPage.Port())).empty());
}

TEST(VersionCheck, NoAnswerIsReportedAsConnectionFailed) {
    const std::vector<Message> expected{
        {L"Connection Failed", L"Please check again later. Currently your internet connection is unavailable "
                               L"or the server is down."}};
    EXPECT_EQ(CheckAgainst(LocalVersionUrl(UnusedLoopbackPort())), expected);
    EXPECT_EQ(CheckAgainstServerAnswering(""), expected) << "an empty page is no answer either";
    LocalHttpServer closing("", LocalHttpServer::Mode::CloseAtOnce);
    EXPECT_EQ(CheckAgainst(LocalVersionUrl(closing.Port())), expected);
}

} // namespace
