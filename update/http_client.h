#pragma once
// A minimal synchronous HTTP client: one GET of one URL, the body kept as text.
#include <string>

// Milliseconds; 0 means no limit.
struct HttpTimeouts {
    int resolve = 0;
    int connect = 60000;
    int send = 30000;
    int receive = 30000;
};

class HttpClient {
  public:
    explicit HttpClient(std::wstring url, HttpTimeouts timeouts = {});

    // False only when the URL is empty, no session could be opened, every attempt failed or memory ran out.
    // A URL that does not parse or a host that cannot be opened gives true with an empty response: callers
    // judge by Response().
    bool SendRequest();
    const std::wstring& Response() const { return response_; }
    void Clear();

  private:
    std::wstring url_;
    std::wstring response_;
    HttpTimeouts timeouts_;
};
