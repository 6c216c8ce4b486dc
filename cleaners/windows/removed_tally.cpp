#include "cleaners/windows/removed_tally.h"

namespace {
// Per thread, as the walk stop: a cleaner run outside any step (a test, a benchmark) counts for nobody.
thread_local RemovedTally* current = nullptr;

constexpr auto kRelaxed = std::memory_order_relaxed;
} // namespace

RemovedTally::RemovedTally() : outer_(current) { current = this; }

RemovedTally::~RemovedTally() { current = outer_; }

RemovedTally* RemovedTally::Current() { return current; }

RemovedCounts RemovedTally::Counts() const {
    return {.files = files_.load(kRelaxed),
            .bytes = bytes_.load(kRelaxed),
            .recycled = recycled_.load(kRelaxed),
            .entries = entries_.load(kRelaxed),
            .rows = rows_.load(kRelaxed),
            .formEntries = formEntries_.load(kRelaxed),
            .clipboard = clipboard_.load(kRelaxed)};
}

void RemovedTally::AddFile(uint64_t bytes) {
    files_.fetch_add(1, kRelaxed);
    bytes_.fetch_add(bytes, kRelaxed);
}

void RemovedTally::AddEntries(uint64_t count) { entries_.fetch_add(count, kRelaxed); }

void RemovedTally::AddRows(uint64_t count, RemovedRows kind) {
    (kind == RemovedRows::FormEntries ? formEntries_ : rows_).fetch_add(count, kRelaxed);
}

void RemovedTally::AddRecycled(uint64_t items, uint64_t bytes) {
    recycled_.fetch_add(items, kRelaxed);
    bytes_.fetch_add(bytes, kRelaxed);
}

void RemovedTally::AddCacheEntry(uint64_t bytes) {
    rows_.fetch_add(1, kRelaxed);
    bytes_.fetch_add(bytes, kRelaxed);
}

void RemovedTally::Add(const RemovedCounts& counts) {
    files_.fetch_add(counts.files, kRelaxed);
    bytes_.fetch_add(counts.bytes, kRelaxed);
    recycled_.fetch_add(counts.recycled, kRelaxed);
    entries_.fetch_add(counts.entries, kRelaxed);
    rows_.fetch_add(counts.rows, kRelaxed);
    formEntries_.fetch_add(counts.formEntries, kRelaxed);
    AddClipboard(counts.clipboard);
}

void RemovedTally::AddClipboard(ClipboardData cleared) {
    if (cleared != ClipboardData::None) clipboard_.store(cleared, kRelaxed);
}

void TallyRemovedFile(uint64_t bytes) {
    if (current) current->AddFile(bytes);
}

void TallyRemovedEntries(uint64_t count) {
    if (current) current->AddEntries(count);
}

void TallyRemovedRows(uint64_t count, RemovedRows kind) {
    if (current) current->AddRows(count, kind);
}

void TallyRecycleBin(uint64_t items, uint64_t bytes) {
    if (current) current->AddRecycled(items, bytes);
}

void TallyRemovedCacheEntry(uint64_t bytes) {
    if (current) current->AddCacheEntry(bytes);
}

void TallyRemoved(const RemovedCounts& counts) {
    if (current) current->Add(counts);
}

void TallyClipboard(ClipboardData cleared) {
    if (current) current->AddClipboard(cleared);
}
