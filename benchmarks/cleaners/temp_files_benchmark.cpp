// Times CleanTempFiles against baselines on identical trees, in two runs:
// - 20,000 small files in 200 folders of the local temporary folder (the purge), beside a chain of 500
//   folders whose bottom holds a file another program keeps open, against a plain walk that only lists
//   and deletes, and against the same walk emptying each file before it deletes it, as the purge must;
// - the same files in the temporary folder, without the chain, against the plain walk and cmd's
//   "rd /s /q".
// Usage: temp_files_benchmark [rounds] [--no-rd] [--chain-only]
// Run it under Wine in a test prefix only: it empties the temporary folders. --no-rd leaves out the slow
// baseline, for more rounds against the plain walk; --chain-only runs the first tree only.
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/known_folders.h"

#include "file_trees.h"

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
constexpr int kChainLevels = 500;

bool BuildTree(const std::wstring& root) {
    return file_trees::BuildTree(root, kFolders, kFilesPerFolder);
}

// root\chain\d\d\...\d; the path of the file at its bottom. The chain reaches past MAX_PATH.
std::wstring BuildChain(const std::wstring& root) {
    std::wstring folder = L"\\\\?\\" + root + L"\\chain";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int level = 0; level < kChainLevels; ++level) {
        folder += L"\\d";
        if (!CreateDirectoryW(folder.c_str(), nullptr)) return {};
    }
    const std::wstring bottom = folder + L"\\held.tmp";
    return file_trees::WriteSmallFile(bottom) ? bottom : std::wstring();
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

// One tree, cleaned by every method in turn, `rounds` times.
struct Run {
    const char* title;
    std::wstring tree;
    bool withChain;
    std::vector<Method> methods;
};

bool RunRounds(Run& run, int rounds, const WindowsCleanContext& context) {
    std::printf("\n%s, %d rounds\n", run.title, rounds);
    for (int round = 0; round < rounds; ++round) {
        for (auto& method : run.methods) {
            CleanTempFiles(context); // every method starts from the same, otherwise empty, folder
            const bool built = BuildTree(run.tree);
            const std::wstring held = built && run.withChain ? BuildChain(run.tree) : std::wstring();
            if (!built || (run.withChain && held.empty())) {
                std::fprintf(stderr, "could not build the tree\n");
                return false;
            }
            // Shares nothing, as a program that has the file open for itself.
            HANDLE lock = run.withChain
                              ? CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                              : INVALID_HANDLE_VALUE;
            const auto start = std::chrono::steady_clock::now();
            method.run(run.tree);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
            method.seconds.push_back(seconds);
            std::printf("round %d  %-15s %8.3f s%s\n", round + 1, method.name, seconds,
                        GetFileAttributesW((run.tree + L"\\folder0").c_str()) == INVALID_FILE_ATTRIBUTES
                            ? ""
                            : "  (tree left behind)");
            std::fflush(stdout);
        }
        for (auto& method : run.methods)
            method.ratios.push_back(run.methods[0].seconds.back() / method.seconds.back());
    }
    CleanTempFiles(context);
    const double cleanMedian = Median(run.methods[0].seconds);
    std::printf("CleanTempFiles median %.3f s, %.0f files per second\n", cleanMedian, kFiles / cleanMedian);
    // The best round of each shows the cost with the least interference from a shared machine.
    auto best = [](const Method& m) { return *std::min_element(m.seconds.begin(), m.seconds.end()); };
    for (size_t i = 1; i < run.methods.size(); ++i)
        std::printf(
            "CleanTempFiles / %-13s median ratio %.3f (baseline median %.3f s), best-round ratio %.3f\n",
            run.methods[i].name, Median(run.methods[i].ratios), Median(run.methods[i].seconds),
            best(run.methods[0]) / best(run.methods[i]));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    bool withRd = true, chainOnly = false;
    for (int i = 2; i < argc; ++i) {
        withRd = withRd && std::string(argv[i]) != "--no-rd";
        chainOnly = chainOnly || std::string(argv[i]) == "--chain-only";
    }
    const WindowsCleanContext context{};
    const std::wstring temp = TempFolderPath(), localTemp = LocalTempFolderPath();
    if (temp.empty() || localTemp.empty()) return 1;
    CreateDirectoryW(localTemp.c_str(), nullptr); // a fresh prefix has none
    // The extended-length form lets the plain walk reach the bottom of the chain, past MAX_PATH.
    auto plainWalk = [](const std::wstring& t) { file_trees::PlainWalk(L"\\\\?\\" + t); };
    auto clean = [&](const std::wstring&) { CleanTempFiles(context); };
    Run plain{"the same files in the temporary folder, without the chain",
              temp + L"tracewipe-benchmark",
              false,
              {{"CleanTempFiles", clean, {}, {}}, {"plain walk", plainWalk, {}, {}}}};
    if (withRd)
        plain.methods.push_back({"cmd rd /s /q", [](const std::wstring& t) { CmdRemoveTree(t); }, {}, {}});
    Run chain{"20,000 files in 200 folders of the local temporary folder, and a held file 500 folders deep",
              localTemp + L"\\tracewipe-benchmark",
              true,
              {{"CleanTempFiles", clean, {}, {}},
               {"plain walk", plainWalk, {}, {}},
               {"emptying walk",
                [](const std::wstring& t) { file_trees::PlainWalk(L"\\\\?\\" + t, true); },
                {},
                {}}}};
    if (!RunRounds(chain, rounds, context)) return 1;
    return chainOnly || RunRounds(plain, rounds, context) ? 0 : 1;
}
