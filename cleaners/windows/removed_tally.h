#pragma once
// What a cleaning step removed, counted by its cleaners at the moment they remove it: the folder walk counts
// each file it deletes, the registry targets each value and key, a browser database the rows of a change it
// committed. Whoever runs the step reads the tally afterwards.
#include <atomic>
#include <cstdint>

// Which rows a database change removed: the item's own records, or the typed form entries that go with them.
enum class RemovedRows { Records, FormEntries };

// What the clipboard holds: text, other data, or nothing.
enum class ClipboardData { None, Text, Other };

struct RemovedCounts {
    uint64_t files = 0, bytes = 0; // files and links deleted, with the bytes of the files and of recycled items
    uint64_t recycled = 0;         // items emptied from the Recycle Bin
    uint64_t entries = 0;          // registry values and keys
    uint64_t rows = 0;             // rows of browser databases
    uint64_t formEntries = 0;      // typed form entries, removed beside rows of another kind
    ClipboardData clipboard = ClipboardData::None; // what an emptied clipboard held

    bool operator==(const RemovedCounts&) const = default;
};

// While a tally lives, what the cleaners of the thread that made it remove is added to it. Tallies nest; the
// innermost one counts. The helper threads of a walk add to the tally their walk started under.
class RemovedTally {
public:
    RemovedTally();
    ~RemovedTally();
    RemovedTally(const RemovedTally&) = delete;
    RemovedTally& operator=(const RemovedTally&) = delete;

    RemovedCounts Counts() const;
    // The calling thread's tally; null outside any.
    static RemovedTally* Current();

    void AddFile(uint64_t bytes);
    void AddEntries(uint64_t count);
    void AddRows(uint64_t count, RemovedRows kind = RemovedRows::Records);
    void AddRecycled(uint64_t items, uint64_t bytes);
    void AddCacheEntry(uint64_t bytes);
    void Add(const RemovedCounts& counts);
    void AddClipboard(ClipboardData cleared);

private:
    std::atomic<uint64_t> files_{0}, bytes_{0}, recycled_{0}, entries_{0}, rows_{0}, formEntries_{0};
    std::atomic<ClipboardData> clipboard_{ClipboardData::None};
    RemovedTally* outer_;
};

// What went between a count before a removal and one after it; never below 0, as something may have come.
constexpr uint64_t WentBetween(uint64_t before, uint64_t after) { return before > after ? before - after : 0; }

// Each adds to the calling thread's tally; without one nothing happens.
void TallyRemovedFile(uint64_t bytes);
void TallyRemovedEntries(uint64_t count);
void TallyRemovedRows(uint64_t count, RemovedRows kind = RemovedRows::Records);
void TallyRecycleBin(uint64_t items, uint64_t bytes);
// What a nested tally counted, once its owner has taken out what is no figure of the item.
void TallyRemoved(const RemovedCounts& counts);
// One entry of the URL cache, a record of its item, with the bytes of its cached file.
void TallyRemovedCacheEntry(uint64_t bytes);
void TallyClipboard(ClipboardData cleared);
