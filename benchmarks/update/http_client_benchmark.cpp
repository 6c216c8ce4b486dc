// Times HttpClient fetching bodies of 20 KB and 1 MB from a server on 127.0.0.1 against a floor: the same
// GET with bare WinHTTP calls reading into one buffer of the right size, without decoding.
// Usage: http_client_benchmark [rounds]   (run under Wine; talks to 127.0.0.1 only)
#include "update/http_client.h"

#include "local_http_server.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using testing_support::HttpReply;
using testing_support::LocalHttpServer;

// The least work a fetch can do: no retries, no proxy, no growth, no decoding.
size_t BareFetch(unsigned short port, size_t expected) {
    HINTERNET session = WinHttpOpen(L"floor", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0);
    HINTERNET connection = WinHttpConnect(session, L"127.0.0.1", port, 0);
    HINTERNET request = WinHttpOpenRequest(connection, L"GET", L"/", nullptr, nullptr, nullptr, 0);
    std::string body(expected, '\0');
    size_t total = 0;
    if (WinHttpSendRequest(request, nullptr, 0, nullptr, 0, 0, 0) &&
        WinHttpReceiveResponse(request, nullptr)) {
        DWORD read = 0;
        while (total < expected &&
               WinHttpReadData(request, body.data() + total, static_cast<DWORD>(expected - total), &read) &&
               read)
            total += read;
    }
    WinHttpCloseHandle(request);
    WinHttpCloseHandle(connection);
    WinHttpCloseHandle(session);
    return total;
}

double Seconds(const std::function<bool()>& run) {
    const auto start = std::chrono::steady_clock::now();
    if (!run()) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    int failures = 0;
    for (size_t size : {size_t{20480}, size_t{1024 * 1024}}) {
        LocalHttpServer server(HttpReply(200, std::string(size, 'v')));
        // Interleaved, best of each: load from other programs hits both alike.
        double client = 1e9, floor = 1e9;
        for (int i = 0; i < rounds && client >= 0 && floor >= 0; ++i) {
            client = std::min(client, Seconds([&] {
                                  HttpClient c(server.Url(L"/"));
                                  return c.SendRequest() && c.Response().size() == size;
                              }));
            floor = std::min(floor, Seconds([&] { return BareFetch(server.Port(), size) == size; }));
        }
        if (client < 0 || floor < 0) {
            std::printf("%8zu bytes: a fetch failed\n", size);
            ++failures;
            continue;
        }
        std::printf("%8zu bytes: HttpClient %.2f ms, bare WinHTTP %.2f ms, ratio %.2f (best of %d)\n", size,
                    client * 1e3, floor * 1e3, client / floor, rounds);
    }
    return failures ? 1 : 0;
}
