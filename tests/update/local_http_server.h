#pragma once
// A small HTTP server on 127.0.0.1, on a port the system picks, for the update tests. One thread takes one
// connection after another and answers each the same way. It listens on the loopback address only.
#include <winsock2.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// Whole HTTP/1.1 answers for the server to send: framed by Content-Length, in chunks, or by closing.
std::string HttpReply(int status, const std::string& body);
std::string ChunkedHttpReply(const std::string& body, size_t chunkSize);
std::string CloseDelimitedHttpReply(const std::string& body);

// A loopback port that nothing listens on (bound once, then released).
unsigned short UnusedLoopbackPort();

std::wstring LoopbackUrl(unsigned short port, const std::wstring& path);

class LocalHttpServer {
  public:
    enum class Mode {
        Answer,      // reads the request, sends the reply, closes
        CloseAtOnce, // closes each connection as soon as it is accepted
        NeverAnswer, // reads the request and keeps the connection open without a word
    };

    explicit LocalHttpServer(std::string reply, Mode mode = Mode::Answer);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool Listening() const { return listener_ != INVALID_SOCKET; }
    unsigned short Port() const { return port_; }
    std::wstring Url(const std::wstring& path) const { return LoopbackUrl(port_, path); }
    int Connections() const { return connections_; }
    // The head (request line and headers) of every request received, in order.
    std::vector<std::string> Requests() const;

  private:
    void Serve();
    void Handle(SOCKET client);

    std::string reply_;
    Mode mode_;
    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::vector<SOCKET> held_;
    std::thread thread_;
};

} // namespace testing_support
