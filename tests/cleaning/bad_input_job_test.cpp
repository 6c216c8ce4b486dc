// The temporary-files item of the real job on bad input: a tree of 100,000 files, files that another
// program removes between the count and the clean and during it, and a folder that denies listing. Both
// temporary folders point into the test's own folder, so every figure is exactly what the test planted.
#include "cleaners/windows/long_path.h"
#include "cleaning/item_measure.h"
#include "cleaning/run_report.h"
#include "real_job.h"
#include "settings/clean_selection.h"
#include "support/outside_sentinel.h"
#include "support/shell_folder_redirect.h"
#include "support/test_folder.h"

#include "common/scoped_handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <thread>

namespace {

using namespace testing_support;

class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
        wchar_t old[4096];
        const DWORD length = GetEnvironmentVariableW(name, old, 4096);
        if (length > 0 && length < 4096) old_ = old;
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedVariable() { SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const wchar_t* name_;
    std::optional<std::wstring> old_;
};

// The temporary files of `root`\Temp only: GetTempPathW reads TMP, then TEMP; the local one is below the
// local application data.
class TempFilesOf {
public:
    explicit TempFilesOf(const std::wstring& root)
        : temp_(root + L"\\Temp"), tmp_(L"TMP", temp_ + L"\\"), tempVariable_(L"TEMP", temp_ + L"\\"),
          local_(L"Local AppData", root) {
        MakeFolders(temp_);
        CleanSelection = {};
        CleanSelection.temp_files = 1;
    }
    ~TempFilesOf() { CleanSelection = {}; }
    TempFilesOf(const TempFilesOf&) = delete;
    TempFilesOf& operator=(const TempFilesOf&) = delete;

    const std::wstring& Folder() const { return temp_; }
    // What the dialog's scan shows on the item's line.
    static ItemFigures Found() { return MeasureItem(Step()); }
    static CleaningStep Step() {
        for (const CleaningStep& step : StepsOfGroup(CleanGroup::WindowsCleaning))
            if (step.action == CleanAction::TempFiles) return step;
        return {};
    }

private:
    std::wstring temp_;
    ScopedVariable tmp_, tempVariable_;
    ScopedShellFolder local_;
};

// Runs the real job over the selection on this thread; its one outcome.
StepOutcome RunTheJob() {
    RealJob real;
    EXPECT_TRUE(real.job.RunCleaners(nullptr));
    EXPECT_EQ(real.job.Outcomes().size(), 1u);
    return real.job.Outcomes().empty() ? StepOutcome{} : real.job.Outcomes().front();
}

// Small files written by handle (a test folder's helper would look for the folders again at every file);
// file i holds i % 5 + 1 bytes.
uint64_t WriteFiles(const std::wstring& folder, int count) {
    MakeFolders(folder);
    uint64_t bytes = 0;
    for (int i = 0; i < count; ++i) {
        const std::string content(static_cast<size_t>(i % 5 + 1), 'x');
        scoped::FileHandle file(CreateFileW((folder + L"\\f" + std::to_wstring(i)).c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr))
            return 0;
        bytes += written;
    }
    return bytes;
}

// Under Wine the planted link cannot be removed: it is then all that stays, with the folder it keeps.
std::vector<std::wstring> LinkIfLeft(const std::wstring& folder, const std::wstring& link) {
    return PathExists(link) ? std::vector<std::wstring>{folder + L"\\", link} : std::vector<std::wstring>{};
}

// Run by hundred_thousand_files_run.sh only, which writes C:\tracewipe-tree\Temp from Linux in seconds
// (through Wine, one file at a time, it took over a minute): 100 folders of 1,000 files, file i of folder n
// holding (n + i) % 5 + 1 bytes.
TEST(BadInputJobTree, AHundredThousandFilesAreCountedAndRemovedExactly) {
    const TempFilesOf temp(L"C:\\tracewipe-tree");
    OutsideSentinel sentinel;
    const std::wstring link = temp.Folder() + L"\\outside";
    ASSERT_TRUE(sentinel.PlantLinkAt(link));
    constexpr uint64_t kBytes = 300000; // each size from 1 to 5 bytes, 20,000 times

    const ItemFigures found = TempFilesOf::Found();
    ASSERT_EQ(found.files, 100001u) << "the files and the link; run by hundred_thousand_files_run.sh";
    EXPECT_EQ(found.bytes, kBytes);
    EXPECT_EQ(FoundText(found), L"100,001 files, 293.0 KB");
    const StepOutcome outcome = RunTheJob();
    const bool linkLeft = PathExists(link);
    EXPECT_EQ(outcome.RemovedFigures().files, linkLeft ? 100000u : 100001u);
    EXPECT_EQ(outcome.RemovedFigures().bytes, kBytes);
    EXPECT_EQ(outcome.after.files, linkLeft ? 1u : 0u);
    EXPECT_EQ(outcome.stayed, LinkIfLeft(temp.Folder(), link));
    EXPECT_EQ(TotalsLine({outcome}), linkLeft ? L"Removed 100,000 files (293.0 KB)." : L"Removed 100,001 files (293.0 KB).");
    EXPECT_TRUE(sentinel.Intact());
}

// Another program removes files after the dialog counted them, and more while the step walks: the step
// counts only what it removed itself, nothing goes below 0, and nothing of theirs "stayed".
TEST(BadInputJob, FilesRemovedByAnotherProgramBetweenTheCountAndTheCleanAreNeitherClaimedNorStayed) {
    TestFolder root;
    const TempFilesOf temp(root.Path());
    constexpr int kFiles = 3000;
    const std::wstring files = temp.Folder() + L"\\many";
    ASSERT_EQ(WriteFiles(files, kFiles), 9000u) << "every size from 1 to 5 bytes, 600 times each";
    OutsideSentinel sentinel;
    const std::wstring linkPath = temp.Folder() + L"\\outside";
    ASSERT_TRUE(sentinel.PlantLinkAt(linkPath));
    const ItemFigures found = TempFilesOf::Found();
    ASSERT_EQ(found.files, kFiles + 1u);

    auto sizeOf = [](int i) { return static_cast<uint64_t>(i % 5 + 1); };
    uint64_t takenFiles = 0, takenBytes = 0;
    auto take = [&](int i) {
        if (!DeleteFileW((files + L"\\f" + std::to_wstring(i)).c_str())) return;
        ++takenFiles;
        takenBytes += sizeOf(i);
    };
    for (int i = 0; i < kFiles; i += 10) take(i); // between the count and Clean
    const uint64_t takenBefore = takenFiles, bytesBefore = takenBytes;
    ASSERT_EQ(takenBefore, kFiles / 10u);
    std::atomic<bool> walking{true};
    std::thread other([&] {
        for (int i = 1; i < kFiles && walking; i += 2) take(i);
    });
    const StepOutcome outcome = RunTheJob();
    walking = false;
    other.join();

    // A file both delete at the same moment is claimed by both: the system told each that it deleted it.
    // What went before Clean the step can never claim.
    const ItemFigures& removed = outcome.RemovedFigures();
    const uint64_t link = PathExists(linkPath) ? 0 : 1;
    EXPECT_GE(removed.files + takenFiles, kFiles + link);
    EXPECT_LE(removed.files, kFiles - takenBefore + link);
    EXPECT_GE(removed.bytes + takenBytes, 9000u);
    EXPECT_LE(removed.bytes, 9000u - bytesBefore);
    EXPECT_EQ(outcome.after.files, 1 - link);
    EXPECT_EQ(outcome.stayed, LinkIfLeft(temp.Folder(), linkPath)) << "what another program removed did not stay";
    EXPECT_FALSE(PathExists(files));
    EXPECT_TRUE(sentinel.Intact());
}

// Run by denied_folder_run.sh only: a prefix whose processes obey mode bits, and C:\tracewipe-denied\Temp
// holding a folder with mode 000 that the script made.
TEST(BadInputJobAccessDenied, AFolderThatDeniesListingStaysAndTheRunSaysWhy) {
    const std::wstring root = L"C:\\tracewipe-denied";
    const std::wstring locked = root + L"\\Temp\\locked";
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((locked + L"\\*").c_str(), &data);
    const DWORD error = find == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    ASSERT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "run by denied_folder_run.sh, which locks it";
    const TempFilesOf temp(root);
    const uint64_t bytes = WriteFiles(temp.Folder() + L"\\open", 40);
    OutsideSentinel sentinel;
    // Named to sort after the locked folder, so that the folder's reason is the item's first.
    const std::wstring link = temp.Folder() + L"\\outside";
    ASSERT_TRUE(sentinel.PlantLinkAt(link));

    const StepOutcome outcome = RunTheJob();
    EXPECT_EQ(outcome.RemovedFigures().files, PathExists(link) ? 40u : 41u);
    EXPECT_EQ(outcome.after.files, PathExists(link) ? 1u : 0u) << "the locked folder's file is not counted, nor guessed";
    EXPECT_EQ(outcome.RemovedFigures().bytes, bytes);
    EXPECT_EQ(outcome.reason, StayedReason::AccessDenied);
    EXPECT_NE(std::ranges::find(outcome.stayed, locked), outcome.stayed.end());
    EXPECT_TRUE(SomethingStayed({outcome})) << "the run ends in \"Some Items Not Cleaned\"";
    EXPECT_NE(OutcomeLineText(outcome).find(L"access denied"), std::wstring::npos) << OutcomeLineText(outcome);
    EXPECT_EQ(StayedLines({outcome}), L"Windows Cleaning: TEMP Files / folders (access denied)\n");
    EXPECT_FALSE(PathExists(temp.Folder() + L"\\open"));
    EXPECT_TRUE(sentinel.Intact());
}

} // namespace
