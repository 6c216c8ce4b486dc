// Times the link-safe walk with its workers against the same walk on one thread (one worker is the walk
// of a single thread) and against a plain one-thread DeleteFileW walk, on identical trees, each method in
// turn on a fresh tree, the first method changing from round to round:
// - a cache of 30,000 small files in 300 folders, emptied as the cache cleaners do ("cache\*");
// - a temporary folder of 20,000 small files in 200 folders, purged (each file emptied, then deleted),
//   also against today's purge: one thread, each file emptied through one open and deleted through another.
// Usage: folder_walk_benchmark [rounds] [folder]   (default 5 rounds in C:\tracewipe-benchmark)
// Run it under Wine in a test prefix only. A folder in memory (Z:\dev\shm\...) keeps the disk traffic of
// other programs out of the figures.
#include "cleaners/windows/deletion_pool.h"
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/file_truncation.h"
#include "cleaners/windows/link_safe_removal.h"
#include "cleaners/windows/long_path.h"
#include "cleaners/windows/shell_delete.h"

#include "file_trees.h"
#include "support/timing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Method {
    const char* name;
    std::function<void(const std::wstring& tree)> run;
    std::vector<double> ms{};
};

// The first method is the pooled one; it is compared with each of the others in the same round.
void RunRounds(const char* title, const std::wstring& tree, int folders, int filesPerFolder,
               std::vector<Method>& methods, int rounds) {
    std::printf("\n%s, %d rounds, %u workers\n", title, rounds, DeletionWorkers());
    std::vector<std::vector<double>> ratios(methods.size());
    for (int round = 0; round < rounds; ++round) {
        for (size_t i = 0; i < methods.size(); ++i) {
            Method& method = methods[(i + round) % methods.size()];
            ShellDelete(tree);
            if (!file_trees::BuildTree(tree, folders, filesPerFolder)) {
                std::fprintf(stderr, "could not build the tree\n");
                std::exit(1);
            }
            method.ms.push_back(testing_support::TimeMs([&] { method.run(tree); }));
            const bool leftBehind =
                GetFileAttributesW((tree + L"\\folder0").c_str()) != INVALID_FILE_ATTRIBUTES;
            std::printf("round %d  %-16s %8.0f ms%s\n", round + 1, method.name, method.ms.back(),
                        leftBehind ? "  (tree left behind)" : "");
            std::fflush(stdout);
        }
        for (size_t i = 1; i < methods.size(); ++i)
            ratios[i].push_back(methods[0].ms.back() / methods[i].ms.back());
    }
    ShellDelete(tree);
    for (const Method& method : methods)
        std::printf("%-16s median %8.0f ms, %6.0f files per second\n", method.name,
                    testing_support::Median(method.ms),
                    folders * filesPerFolder * 1000.0 / testing_support::Median(method.ms));
    for (size_t i = 1; i < methods.size(); ++i) {
        const auto [least, most] = std::ranges::minmax(ratios[i]);
        std::printf("%s / %s: median ratio %.3f (rounds %.3f to %.3f)\n", methods[0].name, methods[i].name,
                    testing_support::Median(ratios[i]), least, most);
    }
}

// `workers` for the walks of `work`, then the machine's own count again.
std::function<void(const std::wstring&)> WithWorkers(unsigned workers,
                                                     std::function<void(const std::wstring&)> work) {
    return [=](const std::wstring& tree) {
        SetDeletionWorkers(workers);
        work(tree);
        SetDeletionWorkers(0);
    };
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string folder = argc > 2 ? argv[2] : "C:\\tracewipe-benchmark";
    const std::wstring root(folder.begin(), folder.end()); // ASCII
    CreateDirectoryW(root.c_str(), nullptr);
    const WindowsCleanContext context{};
    auto emptyCache = [](const std::wstring& tree) { ShellDelete(tree + L"\\*"); };
    auto purge = [&](const std::wstring& tree) { PurgeTempFolder(context, tree); };

    std::vector<Method> cache{
        {"pooled walk", emptyCache},
        {"one-thread walk", WithWorkers(1, emptyCache)},
        {"plain walk", [](const std::wstring& t) { file_trees::PlainWalk(L"\\\\?\\" + t); }}};
    RunRounds("a cache of 30,000 files in 300 folders", root + L"\\cache", 300, 100, cache, rounds);

    // The rules of the purge before a file was emptied and deleted through one handle.
    const RemovalRules todaysRules{.beforeDeletingFile = [](const FolderEntry& file) {
        if (!file.path.ends_with(L".flk")) TruncateFile(file.path, file.attributes);
    }};
    auto todaysPurge = [&](const std::wstring& tree) {
        RemoveContents(ExtendedLengthPath(tree), todaysRules);
    };
    std::vector<Method> temp{
        {"pooled purge", purge},
        {"one-thread purge", WithWorkers(1, purge)},
        {"today's purge", WithWorkers(1, todaysPurge)},
        {"emptying walk", [](const std::wstring& t) { file_trees::PlainWalk(L"\\\\?\\" + t, true); }}};
    RunRounds("a temporary folder of 20,000 files in 200 folders, purged", root + L"\\temp", 200, 100, temp,
              rounds);
    RemoveDirectoryW(root.c_str());
    return 0;
}
