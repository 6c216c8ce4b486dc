#include "update/http_client.h"

#include "local_http_server.h"
#include "user_proxy_settings.h"

#include <windows.h>
#include <winhttp.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

using namespace testing_support;
using Mode = LocalHttpServer::Mode;

constexpr wchar_t kPath[] = L"/php/database/tracewipe/checkversion-tw.php";

// Printable, with line breaks, and different at every offset within a line so a lost or doubled
// chunk shows.
std::string PatternBody(size_t size) {
    std::string body(size, '\0');
    for (size_t i = 0; i < size; ++i)
        body[i] = (i % 64 == 63) ? '\n' : static_cast<char>('0' + i % 64);
    return body;
}

std::wstring Widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

std::wstring DecodedAnsi(const std::string& bytes) {
    int length =
        MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                        length);
    return text;
}

// Every test talks to 127.0.0.1 only; a default proxy of the machine would take requests elsewhere.
class HttpClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WINHTTP_PROXY_INFO info{};
        ASSERT_TRUE(WinHttpGetDefaultProxyConfiguration(&info));
        const bool direct = info.dwAccessType == WINHTTP_ACCESS_TYPE_NO_PROXY;
        GlobalFree(info.lpszProxy);
        GlobalFree(info.lpszProxyBypass);
        ASSERT_TRUE(direct)
            << "a machine-wide WinHTTP proxy (or $http_proxy) is set; unset it for these tests";
    }
};

struct BodyCase {
    const char* name;
    std::string reply;
    std::string body;
};

class BodyIsKeptWhole : public HttpClientTest, public ::testing::WithParamInterface<BodyCase> {};

TEST_P(BodyIsKeptWhole, AsTheResponse) {
    LocalHttpServer server(GetParam().reply);
    ASSERT_TRUE(server.Listening());
    HttpClient client(server.Url(kPath));
    EXPECT_TRUE(client.SendRequest());
    const std::wstring response = client.Response();
    EXPECT_EQ(response.size(), GetParam().body.size());
    EXPECT_TRUE(response == Widen(GetParam().body)) << "the response differs from the body";
    EXPECT_EQ(server.Connections(), 1);
}

std::vector<BodyCase> BodyCases() {
    const size_t kMegabyte = 1024 * 1024;
    return {
        {"Empty", HttpReply(200, ""), ""},
        {"LineBreakOnly", HttpReply(200, "\n"), "\n"},
        {"Of15000Bytes", HttpReply(200, PatternBody(15000)), PatternBody(15000)},
        {"Of20480Bytes", HttpReply(200, PatternBody(20480)), PatternBody(20480)},
        {"Of20481Bytes", HttpReply(200, PatternBody(20481)), PatternBody(20481)},
        {"OfOneMegabyte", HttpReply(200, PatternBody(kMegabyte)), PatternBody(kMegabyte)},
        {"OfOneMegabyteInChunks", ChunkedHttpReply(PatternBody(kMegabyte), 7000), PatternBody(kMegabyte)},
        {"OfOneMegabyteEndedByClosing", CloseDelimitedHttpReply(PatternBody(kMegabyte)),
         PatternBody(kMegabyte)},
        {"OfAnErrorStatus", HttpReply(404, "<html>Not here</html>"), "<html>Not here</html>"},
    };
}

INSTANTIATE_TEST_SUITE_P(HttpClient, BodyIsKeptWhole, ::testing::ValuesIn(BodyCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HttpClientTest, BinaryBodyIsDecodedWholeFromTheAnsiCodePage) {
    std::string bytes;
    for (int round = 0; round < 3; ++round)
        for (int b = 0; b < 256; ++b)
            bytes.push_back(static_cast<char>(b));
    LocalHttpServer server(HttpReply(200, bytes));
    HttpClient client(server.Url(kPath));
    EXPECT_TRUE(client.SendRequest());
    const std::wstring response = client.Response();
    EXPECT_TRUE(response == DecodedAnsi(bytes)) << "got " << response.size() << " characters";
    EXPECT_GT(response.size(), 256u) << "the text must not end at the first zero byte";
}

TEST_F(HttpClientTest, SendsOneGetWithItsAgentAndTheWholePath) {
    LocalHttpServer server(HttpReply(200, "ok"));
    // Longer than any fixed path buffer would hold.
    const std::string query = "?pad=" + std::string(1500, 'x');
    HttpClient client(server.Url(kPath + Widen(query)));
    EXPECT_TRUE(client.SendRequest());
    EXPECT_EQ(client.Response(), L"ok");
    ASSERT_EQ(server.Requests().size(), 1u);
    const std::string head = server.Requests()[0];
    EXPECT_EQ(head.rfind("GET /php/database/tracewipe/checkversion-tw.php" + query + " HTTP/1.1\r\n", 0), 0u)
        << head.substr(0, 80);
    EXPECT_NE(head.find("User-Agent: WinHttpClient\r\n"), std::string::npos) << head;
}

TEST_F(HttpClientTest, UrlsThatCannotBeSent) {
    LocalHttpServer server(HttpReply(200, "TRWP1.0.0"));
    {
        HttpClient client(L"");
        EXPECT_FALSE(client.SendRequest());
        EXPECT_EQ(client.Response(), L"");
    }
    {
        // Without a scheme the URL does not parse: true, but nothing is asked and nothing comes back.
        HttpClient client(L"127.0.0.1:" + std::to_wstring(server.Port()) + kPath);
        EXPECT_TRUE(client.SendRequest());
        EXPECT_EQ(client.Response(), L"");
    }
    {
        HttpClient client(L"ftp://127.0.0.1:" + std::to_wstring(server.Port()) + kPath);
        EXPECT_TRUE(client.SendRequest());
        EXPECT_EQ(client.Response(), L"");
    }
    EXPECT_EQ(server.Connections(), 0);
}

TEST_F(HttpClientTest, ServerThatClosesAtOnceFailsAfterThreeAttempts) {
    LocalHttpServer server("", Mode::CloseAtOnce);
    HttpClient client(server.Url(kPath));
    EXPECT_FALSE(client.SendRequest());
    EXPECT_EQ(client.Response(), L"");
    EXPECT_EQ(server.Connections(), 3);
}

// NOTE: with the real receive timeout of 30 s this case takes 90 s (three attempts), so it runs with a
// short one; the timeouts are only handed to WinHTTP.
TEST_F(HttpClientTest, ServerThatNeverAnswersTimesOutOnEveryAttempt) {
    LocalHttpServer server("", Mode::NeverAnswer);
    HttpTimeouts shortTimeouts{0, 2000, 500, 500};
    HttpClient client(server.Url(kPath), shortTimeouts);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client.SendRequest());
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(client.Response(), L"");
    EXPECT_GE(seconds, 1.4) << "each of the three attempts waits for the receive timeout";
    EXPECT_LT(seconds, 10.0);
}

// The direct request goes to a port where nothing listens; the user's proxy answers instead.
class UserProxyFallback : public HttpClientTest {
  protected:
    std::wstring DeadUrl() const { return LoopbackUrl(deadPort_, kPath); }
    // What reached the proxy was meant for the unreachable server (Wine names it in the Host header only,
    // Windows in the request line too).
    bool AsksForTheUnreachableServer(const std::string& head) const {
        return head.find("Host: 127.0.0.1:" + std::to_string(deadPort_) + "\r\n") != std::string::npos &&
               head.find("/php/database/tracewipe/checkversion-tw.php ") != std::string::npos;
    }
    static std::string ProxyName(const LocalHttpServer& proxy) {
        return "127.0.0.1:" + std::to_string(proxy.Port());
    }
    // Entries that match no host of these tests, to make a list longer than 260 characters.
    static std::string UnrelatedHosts(int count) {
        std::string hosts;
        for (int i = 0; i < count; ++i)
            hosts += "host" + std::to_string(i) + ".unrelated.invalid;";
        return hosts;
    }

    unsigned short deadPort_ = UnusedLoopbackPort();
    LocalHttpServer proxy_{HttpReply(200, "TRWP1.0.1 via proxy")};
};

TEST_F(UserProxyFallback, NamedProxyAnswersOnTheSecondAttempt) {
    ScopedUserProxySettings settings({ProxyName(proxy_), "<local>", ""});
    HttpClient client(DeadUrl());
    EXPECT_TRUE(client.SendRequest());
    EXPECT_EQ(client.Response(), L"TRWP1.0.1 via proxy");
    ASSERT_EQ(proxy_.Requests().size(), 1u);
    EXPECT_TRUE(AsksForTheUnreachableServer(proxy_.Requests()[0])) << proxy_.Requests()[0];
}

TEST_F(UserProxyFallback, ProxyStringsLongerThan260CharactersAreUsedWhole) {
    const std::string bypass = UnrelatedHosts(20);
    ASSERT_GT(bypass.size(), 300u);
    std::string proxyList; // the same proxy again and again: no other address is ever named
    for (int i = 0; i < 20; ++i)
        proxyList += ProxyName(proxy_) + ";";
    ASSERT_GT(proxyList.size(), 300u);
    {
        ScopedUserProxySettings settings({proxyList, bypass, ""});
        HttpClient client(DeadUrl());
        EXPECT_TRUE(client.SendRequest());
        EXPECT_EQ(client.Response(), L"TRWP1.0.1 via proxy");
    }
    {
        // The entry that exempts our host lies beyond the 260th character: cut there, the request would
        // wrongly go through the proxy.
        ScopedUserProxySettings settings({ProxyName(proxy_), bypass + "127.0.0.1", ""});
        HttpClient client(DeadUrl());
        EXPECT_FALSE(client.SendRequest());
        EXPECT_EQ(client.Response(), L"");
    }
    EXPECT_EQ(proxy_.Requests().size(), 1u);
}

TEST_F(UserProxyFallback, AutomaticConfigurationScriptNamesTheProxy) {
    LocalHttpServer script(HttpReply(200, "function FindProxyForURL(url, host) { return \"PROXY " +
                                              ProxyName(proxy_) + "\"; }"));
    const std::string scriptUrl = "http://127.0.0.1:" + std::to_string(script.Port()) + "/proxy.pac";
    ScopedUserProxySettings settings({"", "", scriptUrl});
    HttpClient client(DeadUrl());
    EXPECT_TRUE(client.SendRequest());
    EXPECT_EQ(client.Response(), L"TRWP1.0.1 via proxy");
    EXPECT_EQ(script.Connections(), 1);
    ASSERT_EQ(proxy_.Requests().size(), 1u);
    EXPECT_TRUE(AsksForTheUnreachableServer(proxy_.Requests()[0])) << proxy_.Requests()[0];
}

} // namespace
