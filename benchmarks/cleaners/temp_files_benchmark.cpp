// Times CleanTempFiles on a tree of 20,000 small files in 200 folders of the temporary folder against two
// baselines on identical trees: a plain walk that only lists and deletes, and cmd's "rd /s /q".
// Usage: temp_files_benchmark [rounds] [--no-rd]
// Run it under Wine in a test prefix only: it empties the temporary folders. --no-rd leaves out the slow
// baseline, for more rounds against the plain walk.
#include "cleaners/windows/file_cleaners.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kFolders = 200;
constexpr int kFilesPerFolder = 100;
constexpr int kFiles = kFolders * kFilesPerFolder;

std::wstring TempFolder() {
    wchar_t path[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    return std::wstring(path, length ? length - 1 : 0);
}

bool BuildTree(const std::wstring& root) {
    CreateDirectoryW(root.c_str(), nullptr);
    static const char kContent[] = "a small temporary file of the kind a cleaner meets by the thousand\r\n";
    for (int f = 0; f < kFolders; ++f) {
        const std::wstring folder = root + L"\\folder" + std::to_wstring(f);
        if (!CreateDirectoryW(folder.c_str(), nullptr)) return false;
        for (int i = 0; i < kFilesPerFolder; ++i) {
            const std::wstring file = folder + L"\\file" + std::to_wstring(i) + L".tmp";
            HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (h == INVALID_HANDLE_VALUE) return false;
            DWORD written = 0;
            WriteFile(h, kContent, sizeof kContent - 1, &written, nullptr);
            CloseHandle(h);
        }
    }
    return true;
}

// The floor: list, delete, remove; no attributes, no links, no long paths.
void PlainWalk(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            PlainWalk(path);
            RemoveDirectoryW(path.c_str());
        } else {
            DeleteFileW(path.c_str());
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

void CmdRemoveTree(const std::wstring& folder) {
    std::wstring command = L"cmd.exe /c rd /s /q \"" + folder + L"\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Method {
    const char* name;
    std::function<void(const std::wstring& tree)> run;
    std::vector<double> seconds;
    std::vector<double> ratios; // CleanTempFiles' time over this one's, in the same round
};

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const bool withRd = !(argc > 2 && std::string(argv[2]) == "--no-rd");
    const std::wstring tree = TempFolder() + L"\\tracewipe-benchmark";
    const WindowsCleanContext context{};
    std::vector<Method> methods = {
        {"CleanTempFiles", [&](const std::wstring&) { CleanTempFiles(context); }, {}, {}},
        {"plain walk", [](const std::wstring& t) { PlainWalk(t); }, {}, {}},
    };
    if (withRd) methods.push_back({"cmd rd /s /q", [](const std::wstring& t) { CmdRemoveTree(t); }, {}, {}});
    std::printf("%d files in %d folders, %d rounds\n", kFiles, kFolders, rounds);
    for (int round = 0; round < rounds; ++round) {
        for (auto& method : methods) {
            CleanTempFiles(context); // every method starts from the same, otherwise empty, folder
            if (!BuildTree(tree)) {
                std::fprintf(stderr, "could not build the tree\n");
                return 1;
            }
            const auto start = std::chrono::steady_clock::now();
            method.run(tree);
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            method.seconds.push_back(seconds);
            std::printf("round %d  %-15s %8.3f s%s\n", round + 1, method.name, seconds,
                        GetFileAttributesW((tree + L"\\folder0").c_str()) == INVALID_FILE_ATTRIBUTES ? ""
                                                                                                : "  (tree left behind)");
            std::fflush(stdout);
        }
        for (auto& method : methods) method.ratios.push_back(methods[0].seconds.back() / method.seconds.back());
    }
    CleanTempFiles(context);
    const double cleanMedian = Median(methods[0].seconds);
    std::printf("\nCleanTempFiles median %.3f s, %.0f files per second\n", cleanMedian, kFiles / cleanMedian);
    // The best round of each shows the cost with the least interference from a shared machine.
    auto best = [](const Method& m) { return *std::min_element(m.seconds.begin(), m.seconds.end()); };
    for (size_t i = 1; i < methods.size(); ++i)
        std::printf("CleanTempFiles / %-13s median ratio %.3f (baseline median %.3f s), best-round ratio %.3f\n",
                    methods[i].name, Median(methods[i].ratios), Median(methods[i].seconds),
                    best(methods[0]) / best(methods[i]));
    return 0;
}
