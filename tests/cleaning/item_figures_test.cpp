// The figures of what an item held, removed and kept: their words, the arithmetic that never goes below 0
// or wraps, the step's own count of what it removed and the re-check after it, and the end-of-run lines
// built on them.
#include "cleaning/cleaning_job.h"
#include "cleaning/item_figures.h"
#include "cleaning/run_report.h"
#include "cleaners/windows/stayed_record.h"
#include "settings/clean_item_catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

ItemFigures Files(uint64_t files, uint64_t bytes) { return {.measured = true, .files = files, .bytes = bytes}; }
ItemFigures Entries(uint64_t entries) { return {.measured = true, .entries = entries}; }

TEST(FoundText, SaysWhatEachKindOfTargetHolds) {
    EXPECT_EQ(FoundText(Files(1204, 50541363)), L"1,204 files, 48.2 MB");
    EXPECT_EQ(FoundText(Files(1, 512)), L"1 file, 512 bytes");
    EXPECT_EQ(FoundText(Entries(12)), L"12 entries");
    EXPECT_EQ(FoundText(Entries(1)), L"1 entry");
    EXPECT_EQ(FoundText({.measured = true, .bytes = 1288490189, .recycled = 3}), L"3 items, 1.2 GB");
    EXPECT_EQ(FoundText({.measured = true, .clipboard = ClipboardContent::Text}), L"text");
    EXPECT_EQ(FoundText({.measured = true, .clipboard = ClipboardContent::Empty}), L"empty");
    EXPECT_EQ(FoundText(Files(0, 0)), L"nothing found");
    EXPECT_EQ(FoundText({}), L""); // not measured: the line says nothing rather than guess
    EXPECT_EQ(FoundText({.measured = true, .files = 2, .bytes = 10, .entries = 3}), L"2 files, 10 bytes, 3 entries");
    // Browser rows by their kind; a locked database adds "in use" and alone is no "nothing found".
    EXPECT_EQ(FoundText({.measured = true, .records = 3114, .recordKind = RecordKind::Visits}), L"3,114 visits");
    EXPECT_EQ(FoundText({.measured = true, .records = 1, .recordKind = RecordKind::Logins}), L"1 saved login");
    EXPECT_EQ(FoundText({.measured = true, .bytes = 2048, .records = 12, .recordKind = RecordKind::CacheEntries}),
              L"12 cache entries, 2.0 KB");
    EXPECT_EQ(FoundText({.measured = true, .records = 9, .recordKind = RecordKind::Downloads, .inUse = true}),
              L"9 downloads, in use");
    EXPECT_EQ(FoundText({.measured = true, .inUse = true}), L"in use");
}

TEST(FoundText, SizesAndCountsPastThirtyTwoBitsNeitherWrapNorRoundToAThousandOfAUnit) {
    EXPECT_EQ(GroupedNumber(0), L"0");
    EXPECT_EQ(GroupedNumber(999), L"999");
    EXPECT_EQ(GroupedNumber(1000), L"1,000");
    EXPECT_EQ(GroupedNumber(5000000000ull), L"5,000,000,000");
    EXPECT_EQ(SizeText(5ull << 30), L"5.0 GB");
    EXPECT_EQ(SizeText(1023), L"1,023 bytes");
    EXPECT_EQ(SizeText(1024), L"1.0 KB");
    EXPECT_EQ(SizeText(1048575), L"1.0 MB"); // not "1024.0 KB"
    EXPECT_EQ(SizeText(UINT64_MAX), L"16.0 EB");
}

TEST(FromRemoved, TakesTheStepsOwnCountInTheTermsOfItsRecheck) {
    const RemovedCounts files{.files = 7, .bytes = 900};
    EXPECT_EQ(FromRemoved(files, Files(3, 100)), Files(7, 900));
    EXPECT_FALSE(FromRemoved(files, {}).measured) << "an item that is not counted claims nothing";
    // The rows are of the kind the re-check reads; a locked database after the step changes nothing of
    // what the committed change removed.
    const ItemFigures locked{.measured = true, .records = 5, .recordKind = RecordKind::Visits, .inUse = true};
    const ItemFigures removed = FromRemoved({.rows = 40}, locked);
    EXPECT_EQ(removed.records, 40u);
    EXPECT_EQ(removed.recordKind, RecordKind::Visits);
    EXPECT_FALSE(removed.inUse);
    // Only the clipboard's line speaks of the clipboard: emptied of text, or of nothing.
    const ItemFigures clipboard{.measured = true, .clipboard = ClipboardContent::Empty};
    EXPECT_EQ(FromRemoved({.clipboard = ClipboardData::Text}, clipboard).clipboard, ClipboardContent::Text);
    EXPECT_EQ(FromRemoved({}, clipboard).clipboard, ClipboardContent::Empty);
    EXPECT_EQ(FromRemoved({}, Files(0, 0)).clipboard, ClipboardContent::Unknown);
    EXPECT_EQ(FoundText(FromRemoved({.bytes = 0, .recycled = 2}, {.measured = true})), L"2 items, 0 bytes");
}

const CatalogueEntry& Item(const wchar_t* boxId) { return *FindByBoxId(boxId); }

// Form entries beside the logins: named apart, removed apart, and counted among the browser records of the
// totals.
TEST(Removed, FormEntriesBesideLoginsKeepTheirOwnNameAndCount) {
    const ItemFigures before{.measured = true, .records = 42, .recordKind = RecordKind::Logins, .formEntries = 12};
    const ItemFigures after{.measured = true, .recordKind = RecordKind::Logins, .formEntries = 1};
    EXPECT_EQ(FoundText(before), L"42 saved logins, 12 form entries");
    const ItemFigures removed = FromRemoved({.rows = 42, .formEntries = 11}, after);
    EXPECT_EQ(FoundText(removed), L"42 saved logins, 11 form entries");
    EXPECT_FALSE(after.Nothing());
    const StepOutcome outcome{&Item(L"gc_pwd"), {}, removed, after};
    EXPECT_EQ(OutcomeLineText(outcome), L"1 form entry stayed");
    EXPECT_EQ(TotalsLine({outcome}), L"Removed 53 browser records.");
}

TEST(EndOfRunLines, NameWhatStayedAndAddUpWhatWent) {
    const std::vector<StepOutcome> outcomes = {
        {&Item(L"temp_files"), {}, Files(1197, (3 << 20) - 1024), Files(3, 1024)},
        {&Item(L"run_history"), {}, Entries(12), Entries(0)},
        {&Item(L"recycle_bin"), {}, {.measured = true, .bytes = 2048, .recycled = 2}, {.measured = true}},
        {&Item(L"ff_cache"), {}, {}, {}},
    };
    EXPECT_EQ(OutcomeText(outcomes[0]), L"removed 1,197 files, 3.0 MB, 3 files, 1.0 KB stayed");
    EXPECT_EQ(OutcomeText(outcomes[1]), L"removed 12 entries");
    EXPECT_EQ(OutcomeText(outcomes[3]), L"ran");
    EXPECT_TRUE(SomethingStayed(outcomes));
    EXPECT_EQ(StayedLines(outcomes), L"Windows Cleaning: TEMP Files / folders (something stayed)\n");
    EXPECT_EQ(TotalsLine(outcomes),
              L"Removed 1,197 files (3.0 MB), 12 registry entries and 2 items (2.0 KB) from the Recycle Bin.");
    EXPECT_EQ(TotalsLine({outcomes[1], outcomes[3]}), L"Removed 12 registry entries.");
    EXPECT_EQ(TotalsLine({{&Item(L"run_history"), {}, Entries(0), Entries(0)}}), L"Nothing was found to remove.");
    // An item that is not counted may have removed something: no claim that nothing was found.
    EXPECT_EQ(TotalsLine({{&Item(L"run_history"), {}, Entries(0), Entries(0)}, {&Item(L"ff_cache"), {}, {}, {}}}), L"");
    EXPECT_EQ(TotalsLine({outcomes[3]}), L"") << "nothing counted: no totals rather than a wrong 0";
    EXPECT_EQ(OutcomeText({&Item(L"run_history"), {}, Entries(0), Entries(0)}), L"nothing found");
    EXPECT_EQ(OutcomeLineText(outcomes[0]), L"3 files stayed");
    EXPECT_EQ(OutcomeLineText(outcomes[1]), L"removed 12 entries");
    StepOutcome held{&Item(L"temp_files"), {L"C:\\t\\a"}, Files(3, 30), Files(1, 10), StayedReason::InUse};
    EXPECT_EQ(OutcomeLineText(held), L"1 file in use");
    EXPECT_EQ(StayedLines({held}), L"Windows Cleaning: TEMP Files / folders (in use by another program)\n");
    const StepOutcome link{&Item(L"ff_cache"), {L"C:\\p\\"}, {}, {}, StayedReason::LinkLeft};
    EXPECT_EQ(OutcomeLineText(link), L"something stayed: a link");
}

// Counts scripted per action, one per call; each run removes what its action is scripted to, counting it as
// the real cleaners do.
class CountingCleaners : public CleanerSet {
public:
    std::map<CleanAction, std::vector<ItemFigures>> counts;
    std::map<CleanAction, RemovedCounts> removes;
    std::vector<std::wstring> log;
    void BeginWindowsPhase(HWND) override {}
    void EndWindowsPhase() override {}
    void BeginBrowserGroup(CleanGroup) override {}
    void EndBrowserGroup(CleanGroup) override {}
    void Run(CleanAction action, HWND) override {
        log.push_back(L"run");
        const RemovedCounts& removed = removes[action];
        for (uint64_t file = 0; file < removed.files; ++file) TallyRemovedFile(removed.bytes / removed.files);
        TallyRemovedEntries(removed.entries);
        if (action == CleanAction::PaintHistory) ReportStayed(L"C:\\held.bmp");
    }
    ItemFigures Measure(const CleaningStep& step) override {
        const CleanAction action = step.action;
        log.push_back(L"count");
        auto& queue = counts[action];
        if (queue.empty()) return {};
        ItemFigures next = queue.front();
        queue.erase(queue.begin());
        return next;
    }
};

class NoHost : public JobHost {
    void DisableCleanButton() override {}
    void ShowProgress(const std::wstring&, int) override {}
};

class RecheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        CleanSelection = {};
        CleanSelection.temp_files = CleanSelection.ms_paint = 1;
        totalSteps = doneSteps = 0;
    }
    void TearDown() override { CleanSelection = {}; }
    CountingCleaners cleaners_;
    NoHost host_;
};

TEST_F(RecheckTest, EachStepCountsWhatItRemovesAndIsCountedAgainOnlyAfterIt) {
    cleaners_.removes[CleanAction::TempFiles] = {.files = 5, .bytes = 500};
    cleaners_.removes[CleanAction::PaintHistory] = {.entries = 3};
    // What was there before the step (and whatever another program removed meanwhile) is never asked.
    cleaners_.counts[CleanAction::TempFiles] = {Files(0, 0)};
    cleaners_.counts[CleanAction::PaintHistory] = {Entries(1)};
    CleaningJob job(cleaners_, host_);
    job.DecideGroups();
    job.CountSteps();
    ASSERT_TRUE(job.RunCleaners(nullptr));
    EXPECT_EQ(cleaners_.log, (std::vector<std::wstring>{L"run", L"count", L"run", L"count"}));
    ASSERT_EQ(job.OutcomesPublished(), 2u);
    EXPECT_EQ(job.OutcomeAt(0).RemovedFigures(), Files(5, 500));
    EXPECT_FALSE(job.OutcomeAt(0).SomethingStayed());
    EXPECT_EQ(job.OutcomeAt(1).RemovedFigures(), Entries(3));
    EXPECT_EQ(job.OutcomeAt(1).after, Entries(1));
    EXPECT_TRUE(job.OutcomeAt(1).SomethingStayed());
    EXPECT_EQ(job.OutcomeAt(1).stayed, (std::vector<std::wstring>{L"C:\\held.bmp"}));
}

TEST_F(RecheckTest, OneStepsCountNeverReachesTheNextOrTheCallersTally) {
    cleaners_.removes[CleanAction::TempFiles] = {.files = 2, .bytes = 20};
    cleaners_.counts[CleanAction::TempFiles] = {Files(0, 0)};
    cleaners_.counts[CleanAction::PaintHistory] = {Entries(0)};
    const RemovedTally outer;
    CleaningJob job(cleaners_, host_);
    job.DecideGroups();
    job.CountSteps();
    ASSERT_TRUE(job.RunCleaners(nullptr));
    EXPECT_EQ(job.OutcomeAt(1).RemovedFigures(), Entries(0));
    EXPECT_EQ(outer.Counts(), RemovedCounts{});
}

TEST_F(RecheckTest, WithoutRechecksNothingIsCounted) {
    cleaners_.removes[CleanAction::TempFiles] = {.files = 2, .bytes = 20};
    CleaningJob job(cleaners_, host_);
    job.recheck = false;
    job.DecideGroups();
    job.CountSteps();
    ASSERT_TRUE(job.RunCleaners(nullptr));
    EXPECT_EQ(cleaners_.log, (std::vector<std::wstring>{L"run", L"run"}));
    EXPECT_FALSE(job.OutcomeAt(0).RemovedFigures().measured);
}

} // namespace
