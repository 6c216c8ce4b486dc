#include "update/http_client.h"

#include "update/winhttp_handles.h"

#include <climits>
#include <new>
#include <optional>
#include <utility>

namespace {

constexpr wchar_t kAgent[] = L"WinHttpClient";
constexpr int kAttempts = 3;

struct UrlParts {
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring path; // with the query, as the server must see it
    bool secure = false;
};

// A session and its request for the URL. Closed request first: a parent goes only after its children.
class Channel {
  public:
    Channel() = default;
    Channel& operator=(Channel&& other) noexcept {
        Close();
        session_ = std::move(other.session_);
        connection_ = std::move(other.connection_);
        request_ = std::move(other.request_);
        receiveMs_ = other.receiveMs_;
        return *this;
    }
    ~Channel() { Close(); }

    bool OpenSession(DWORD access, const wchar_t* proxy, const wchar_t* bypass, const HttpTimeouts& t) {
        session_ = scoped::WinHttpHandle(WinHttpOpen(kAgent, access, proxy ? proxy : WINHTTP_NO_PROXY_NAME,
                                                     bypass ? bypass : WINHTTP_NO_PROXY_BYPASS, 0));
        if (!session_) return false;
        WinHttpSetTimeouts(session_.Get(), t.resolve, t.connect, t.send, t.receive);
        receiveMs_ = t.receive;
        return true;
    }

    bool OpenRequest(const UrlParts& url) {
        connection_ = scoped::WinHttpHandle(WinHttpConnect(session_.Get(), url.host.c_str(), url.port, 0));
        if (!connection_) return false;
        request_ = scoped::WinHttpHandle(
            WinHttpOpenRequest(connection_.Get(), L"GET", url.path.c_str(), nullptr, WINHTTP_NO_REFERER,
                               WINHTTP_DEFAULT_ACCEPT_TYPES, url.secure ? WINHTTP_FLAG_SECURE : 0));
        if (!request_) return false;
        // The wait for the response's headers has a limit of its own, which Wine leaves unlimited: a
        // server that never answers would hang the program. Bound it by the receive timeout.
        if (receiveMs_ > 0) {
            DWORD headersMs = static_cast<DWORD>(receiveMs_);
            WinHttpSetOption(request_.Get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headersMs,
                             sizeof headersMs);
        }
        return true;
    }

    bool Send() const {
        return WinHttpSendRequest(request_.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA,
                                  0, 0, 0);
    }

    HINTERNET Session() const { return session_.Get(); }
    HINTERNET Request() const { return request_.Get(); }

  private:
    void Close() {
        request_.Reset();
        connection_.Reset();
        session_.Reset();
    }

    scoped::WinHttpHandle session_;
    scoped::WinHttpHandle connection_;
    scoped::WinHttpHandle request_;
    int receiveMs_ = 0;
};

std::optional<UrlParts> CrackUrl(const std::wstring& url) {
    // Lengths of -1 ask for pointers into the URL itself, so no part has a size limit.
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) return std::nullopt;
    UrlParts result;
    result.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    result.port = parts.nPort;
    result.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo) result.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    result.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return result;
}

// Moves the request behind `proxy`. The request's own proxy option would be the lighter way, but Wine
// ignores it, so a session that names the proxy carries the request instead. Keeps the old channel when
// the new one cannot be opened.
bool Reroute(Channel& channel, const UrlParts& url, const HttpTimeouts& timeouts,
             const WINHTTP_PROXY_INFO& proxy) {
    const DWORD access = proxy.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY
                             ? WINHTTP_ACCESS_TYPE_NAMED_PROXY
                             : WINHTTP_ACCESS_TYPE_NO_PROXY;
    Channel next;
    if (!next.OpenSession(access, proxy.lpszProxy, proxy.lpszProxyBypass, timeouts) || !next.OpenRequest(url))
        return false;
    channel = std::move(next);
    return true;
}

// The proxy for `url` by the user's automatic configuration script, after a DHCP search for one.
bool AskScript(HINTERNET session, const std::wstring& url, const wchar_t* scriptUrl,
               scoped::ProxyInfo& answer) {
    WINHTTP_AUTOPROXY_OPTIONS options{};
    options.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT | WINHTTP_AUTOPROXY_CONFIG_URL;
    options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP;
    options.lpszAutoConfigUrl = scriptUrl;
    options.fAutoLogonIfChallenged = TRUE;
    if (WinHttpGetProxyForUrl(session, url.c_str(), &options, &answer)) return true;
    if (GetLastError() != ERROR_INVALID_PARAMETER) return false;
    // Wine refuses the search and the script together; the script alone is still the user's setting.
    options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
    options.dwAutoDetectFlags = 0;
    return WinHttpGetProxyForUrl(session, url.c_str(), &options, &answer);
}

// After a failed direct send. A named proxy is set up for the next attempt (false); an automatic
// configuration script is asked at once, and true means the request went out through its answer.
bool SendThroughUserProxy(Channel& channel, const std::wstring& fullUrl, const UrlParts& url,
                          const HttpTimeouts& timeouts) {
    scoped::UserProxyConfig user;
    if (!WinHttpGetIEProxyConfigForCurrentUser(&user)) return false;
    if (user.lpszAutoConfigUrl && *user.lpszAutoConfigUrl) {
        scoped::ProxyInfo answer;
        return AskScript(channel.Session(), fullUrl, user.lpszAutoConfigUrl, answer) &&
               Reroute(channel, url, timeouts, answer) && channel.Send();
    }
    if (user.lpszProxy && *user.lpszProxy) {
        WINHTTP_PROXY_INFO named{WINHTTP_ACCESS_TYPE_NAMED_PROXY, user.lpszProxy, user.lpszProxyBypass};
        Reroute(channel, url, timeouts, named);
    }
    return false;
}

// Grows with the body: a body of any size is kept whole. Throws std::bad_alloc when memory runs out.
std::string ReadBody(HINTERNET request) {
    std::string body;
    DWORD available = 0;
    while (WinHttpQueryDataAvailable(request, &available) && available > 0) {
        const size_t before = body.size();
        body.resize(before + available);
        DWORD read = 0;
        if (!WinHttpReadData(request, body.data() + before, available, &read)) read = 0;
        body.resize(before + read);
        if (read == 0) break;
    }
    return body;
}

// Every byte counts, NUL included: the text is as long as the body, never cut at a zero.
std::wstring DecodeAnsi(const std::string& bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, bytes.data(), size, text.data(), length) != length)
        return {};
    return text;
}

} // namespace

HttpClient::HttpClient(std::wstring url, HttpTimeouts timeouts) : url_(std::move(url)), timeouts_(timeouts) {}

void HttpClient::Clear() {
    url_.clear();
    response_.clear();
}

bool HttpClient::SendRequest() {
    response_.clear();
    if (url_.empty()) return false;
    try {
        Channel channel;
        if (!channel.OpenSession(WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, nullptr, nullptr, timeouts_))
            return false;
        const std::optional<UrlParts> url = CrackUrl(url_);
        if (!url || !channel.OpenRequest(*url)) return true;
        for (int attempt = 1; attempt <= kAttempts; ++attempt) {
            if (!channel.Send() && !SendThroughUserProxy(channel, url_, *url, timeouts_)) continue;
            if (!WinHttpReceiveResponse(channel.Request(), nullptr)) continue;
            // The status code is not looked at: an error page is the response too.
            response_ = DecodeAnsi(ReadBody(channel.Request()));
            return true;
        }
        return false;
    } catch (const std::bad_alloc&) {
        response_.clear();
        return false;
    }
}
