// Times how long "exit" takes to close the progress dialog while the job empties a folder of 100,000 small
// files in the local temporary folder, against what finishing that folder would have taken (the same
// cleaner, run to its end on what the stop left). Also checks that every file left is whole.
// Usage: job_stop_benchmark [files] [milliseconds into the walk before "exit"]
// Run it under Wine in a test prefix only: it empties the temporary folders. Under Wine, making the files
// slows as the folder grows (31,000 took six minutes on a busy machine); a smaller count shows the same stop.
#include "cleaners/windows/known_folders.h"
#include "job_dialog.h"
#include "real_job.h"
#include "settings/clean_selection.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kContent[] = "a small temporary file of the kind a cleaner meets by the thousand\r\n";
constexpr DWORD kContentSize = sizeof kContent - 1;

bool BuildFolder(const std::wstring& folder, int files) {
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < files; ++i) {
        const std::wstring file = folder + L"\\file" + std::to_wstring(i) + L".tmp";
        HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        WriteFile(h, kContent, kContentSize, &written, nullptr);
        CloseHandle(h);
    }
    return true;
}

struct Survivors {
    int whole = 0;
    int partial = 0; // any other size: a file left half emptied
};

Survivors CountSurvivors(const std::wstring& folder) {
    Survivors survivors;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return survivors;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        ++(data.nFileSizeLow == kContentSize && data.nFileSizeHigh == 0 ? survivors.whole : survivors.partial);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return survivors;
}

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

} // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const int delayMs = argc > 2 ? std::max(0, std::atoi(argv[2])) : 1000;
    const std::wstring localTemp = LocalTempFolderPath();
    if (localTemp.empty()) return 1;
    const std::wstring folder = localTemp + L"\\tracewipe-stop-benchmark";
    const WindowsCleanContext context{};
    CleanTempFiles(context);
    std::printf("building %d files...\n", files);
    std::fflush(stdout);
    if (!BuildFolder(folder, files)) {
        std::fprintf(stderr, "could not build the folder\n");
        return 1;
    }

    CleanSelection = {};
    CleanSelection.temp_files = 1;
    RealJob real;
    CleaningJob& job = real.job;
    JobDialog dialog(job);
    HANDLE firstGone = FindFirstChangeNotificationW(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    const auto started = Clock::now();
    if (!job.StartJob(dialog.Window())) return 1;
    Clock::time_point pressed;
    std::thread user([&] {
        WaitForSingleObject(firstGone, 600000);
        const double walkBegan = SecondsSince(started);
        Sleep(delayMs);
        std::printf("the walk reached the folder %.3f s after the start; \"exit\" %d ms later\n", walkBegan, delayMs);
        pressed = Clock::now();
        PostMessageW(dialog.Window(), WM_APP, 0, 0); // the dialog's "exit": RequestClose
    });
    if (!dialog.RunUntilClosed(3600000)) return 1;
    const double closeSeconds = SecondsSince(pressed);
    user.join();
    FindCloseChangeNotification(firstGone);
    const Survivors left = CountSurvivors(folder);
    std::printf("\"exit\" to the job's WM_CLOSE handled: %.1f ms; jobResult %d, doneSteps %d\n",
                closeSeconds * 1000, job.jobResult.load(), doneSteps.load());
    std::printf("files left %d of %d, every one whole: %s (%d not)\n", left.whole + left.partial, files,
                left.partial == 0 ? "yes" : "NO", left.partial);

    // The baseline: what the dialog would have waited for, had the walk not stopped.
    const auto finish = Clock::now();
    CleanTempFiles(context);
    const double finishSeconds = SecondsSince(finish);
    std::printf("finishing the folder instead: %.3f s (%.0f files per second)\n", finishSeconds,
                (left.whole + left.partial) / finishSeconds);
    std::printf("stop / finish ratio %.4f\n", closeSeconds / finishSeconds);
    RemoveDirectoryW(folder.c_str());
    return left.partial == 0 ? 0 : 2;
}
