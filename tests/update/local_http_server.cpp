#include "local_http_server.h"

#include <ws2tcpip.h>

#include <cstdio>

namespace testing_support {

namespace {

const char* Reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

void SendAll(SOCKET s, const std::string& data) {
    size_t sent = 0;
    while (sent < data.size()) {
        int n = send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}

// Up to the blank line that ends the head; a request without one (the client gave up) ends at close.
std::string ReadHead(SOCKET s) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        int n = recv(s, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        head.append(buffer, static_cast<size_t>(n));
    }
    return head;
}

SOCKET ListenOnLoopback(unsigned short& port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return s;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int size = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, SOMAXCONN) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return s;
}

struct WinsockUser {
    WinsockUser() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockUser() { WSACleanup(); }
};

} // namespace

std::string HttpReply(int status, const std::string& body) {
    char head[160];
    std::snprintf(head, sizeof head,
                  "HTTP/1.1 %d %s\r\nContent-Type: text/plain\r\nContent-Length: %zu\r\n\r\n", status,
                  Reason(status), body.size());
    return head + body;
}

std::string ChunkedHttpReply(const std::string& body, size_t chunkSize) {
    std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (size_t at = 0; at < body.size(); at += chunkSize) {
        const std::string chunk = body.substr(at, chunkSize);
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", chunk.size());
        reply += size + chunk + "\r\n";
    }
    return reply + "0\r\n\r\n";
}

std::string CloseDelimitedHttpReply(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n" + body;
}

unsigned short UnusedLoopbackPort() {
    WinsockUser winsock;
    unsigned short port = 0;
    SOCKET s = ListenOnLoopback(port);
    if (s != INVALID_SOCKET) closesocket(s);
    return port;
}

std::wstring LoopbackUrl(unsigned short port, const std::wstring& path) {
    return L"http://127.0.0.1:" + std::to_wstring(port) + path;
}

LocalHttpServer::LocalHttpServer(std::string reply, Mode mode) : reply_(std::move(reply)), mode_(mode) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = ListenOnLoopback(port_);
    if (listener_ != INVALID_SOCKET) thread_ = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    for (SOCKET s : held_)
        closesocket(s);
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    WSACleanup();
}

std::vector<std::string> LocalHttpServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void LocalHttpServer::Serve() {
    while (!stop_) {
        // Short waits, so that the destructor is never kept waiting by a client that does not come.
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(listener_, &ready);
        timeval wait{0, 20000};
        if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        ++connections_;
        Handle(client);
    }
}

void LocalHttpServer::Handle(SOCKET client) {
    if (mode_ == Mode::CloseAtOnce) {
        closesocket(client);
        return;
    }
    DWORD timeoutMs = 5000;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
    std::string head = ReadHead(client);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(std::move(head));
    }
    if (mode_ == Mode::NeverAnswer) {
        held_.push_back(client);
        return;
    }
    SendAll(client, reply_);
    shutdown(client, SD_SEND);
    closesocket(client);
}

} // namespace testing_support
