#include "cleaners/windows/link_safe_removal.h"

#include "cleaners/windows/deletion_pool.h"
#include "cleaners/windows/file_truncation.h"
#include "cleaners/windows/removed_tally.h"
#include "cleaners/windows/walk_stop.h"

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

bool IsDesktopIni(std::wstring_view name) {
    constexpr std::wstring_view kDesktopIni = L"desktop.ini";
    auto asciiLower = [](wchar_t c) {
        return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    };
    return std::ranges::equal(name, kDesktopIni, {}, asciiLower);
}

bool IsWalkableFolder(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

namespace {

// Below this many files a walk stays on its own thread: starting workers would cost more than they save.
constexpr unsigned kFilesBeforeWorkers = 64;

// Only the read-only bit stops a deletion; leaving other attributes alone saves a call per entry.
void ClearReadOnly(const std::wstring& path, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A link is removed as what it claims to be; its target is never opened, listed or changed.
bool RemoveLink(const std::wstring& path, DWORD attributes) {
    const bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return directory ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str());
}

// Asked right after a removal failed: another program removed the entry first, so nothing of it stayed.
bool VanishedMeanwhile() {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool DeleteListedFile(const FolderEntry& file, const RemovalRules& rules) {
    if (file.IsLink()) return RemoveLink(file.path, file.attributes);
    if (rules.beforeDeletingFile) rules.beforeDeletingFile(file);
    if (rules.emptiesFile && rules.emptiesFile(file)) return EmptyAndDeleteFile(file.path, file.attributes);
    ClearReadOnly(file.path, file.attributes);
    return DeleteFileW(file.path.c_str());
}

// True when the file is gone. Only what this call deleted is counted, with its size as listed; a link
// holds no bytes of its own.
bool RemoveFile(const FolderEntry& file, const RemovalRules& rules, RemovedTally* tally) {
    if (!DeleteListedFile(file, rules)) return VanishedMeanwhile();
    if (tally) tally->AddFile(file.IsLink() ? 0 : file.size);
    return true;
}

// A folder of the walk, shared by the threads that work in it. Whatever is still to be done in it holds
// it: its listing and sub-folders (held by the listing thread until it is done with them) and each file
// handed to a worker. The thread that drops the last hold removes it, empty, with a plain folder removal.
// The names of what stays directly in the walk's folder, from whichever thread met it.
class EntriesLeft {
  public:
    void Add(std::wstring_view name) {
        AcquireSRWLockExclusive(&lock_);
        names_.emplace_back(name);
        ReleaseSRWLockExclusive(&lock_);
    }
    std::vector<std::wstring> Take() {
        std::ranges::sort(names_);
        return std::move(names_);
    }

  private:
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::vector<std::wstring> names_;
};

struct WalkFolder {
    WalkFolder* parent; // null for the walk's top, which is never removed
    std::wstring name;  // the whole path for the top
    DWORD attributes;   // as its parent listed it
    std::atomic<long> holds{1};
    std::atomic<bool> allRemoved{true};
    EntriesLeft* entriesLeft = nullptr; // the top's, when the caller wants them named
};

// `name`, directly in `folder`, stays.
void Stays(WalkFolder& folder, std::wstring_view name) {
    folder.allRemoved.store(false, std::memory_order_relaxed);
    if (folder.entriesLeft) folder.entriesLeft->Add(name);
}

// Built from the names up the chain when the folder goes, so that a walk thousands of folders deep keeps
// no copy of its path per level.
std::wstring PathOf(const WalkFolder& folder) {
    std::vector<const WalkFolder*> chain;
    size_t length = 0;
    for (const WalkFolder* f = &folder; f; f = f->parent) {
        chain.push_back(f);
        length += f->name.size() + 1;
    }
    std::wstring path;
    path.reserve(length);
    for (auto f = chain.rbegin(); f != chain.rend(); ++f) {
        if (!path.empty() && path.back() != L'\\') path += L'\\'; // a drive root ends in one already
        path += (*f)->name;
    }
    return path;
}

// A loop rather than a recursion up the chain, so that the last hold of a deep chain costs no stack.
void DropHold(WalkFolder* folder) {
    while (folder->holds.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        WalkFolder* parent = folder->parent;
        if (!parent) return; // the walk reads the top's result
        bool removed = false;
        if (!WalkStopRequested()) {
            const std::wstring path = PathOf(*folder);
            ClearReadOnly(path, folder->attributes);
            removed = RemoveDirectoryW(path.c_str()) || VanishedMeanwhile();
        }
        if (!removed) Stays(*parent, folder->name);
        delete folder;
        folder = parent;
    }
}

// A folder the listing thread is in: its sub-folders wait their turn there.
struct OpenFolder {
    WalkFolder* folder;
    size_t pathLength; // of the walk's path while it names this folder
    std::vector<std::pair<std::wstring, DWORD>> subFolders{};
    size_t next = 0;
};

// One walk: the listing thread's side, and the workers it starts once the walk has met many files.
class Walk {
  public:
    explicit Walk(const RemovalRules& rules) : rules_(rules), tally_(RemovedTally::Current()) {}

    // Removes the files and links of the folder that `path` names, or hands them to the workers, and
    // queues its sub-folders. One listing handle is open at a time, however deep the walk.
    bool List(const std::wstring& path, OpenFolder& open) {
        return ForEachEntry(path, [&](FolderEntry& entry) {
            if (rules_.keepDesktopIni && IsDesktopIni(entry.name))
                Stays(*open.folder, entry.name);
            else if (entry.IsDirectory() && !entry.IsLink())
                open.subFolders.emplace_back(entry.name, entry.attributes);
            else
                Remove(entry, open.folder);
        });
    }

    // Waits for the workers' last files.
    void Finish() { workers_.reset(); }

  private:
    void Remove(FolderEntry& entry, WalkFolder* folder) {
        if (!workers_ && ++filesMet_ == kFilesBeforeWorkers) {
            if (const unsigned count = DeletionWorkers(); count > 1) workers_.emplace(count);
        }
        if (!workers_) {
            if (!RemoveFile(entry, rules_, tally_)) Stays(*folder, entry.name);
            return;
        }
        folder->holds.fetch_add(1, std::memory_order_relaxed);
        const size_t nameAt = entry.path.size() - std::wcslen(entry.name);
        std::function<void()> task = [&rules = rules_, tally = tally_, folder, nameAt, path = std::move(entry.path),
                                      attributes = entry.attributes, size = entry.size]() mutable {
            FolderEntry file{std::move(path), nullptr, attributes, size};
            file.name = file.path.c_str() + nameAt;
            if (WalkStopRequested() || !RemoveFile(file, rules, tally)) Stays(*folder, file.name);
            DropHold(folder);
        };
        // With every worker busy and more waiting, the listing thread lends a hand rather than wait.
        if (!workers_->TryHandOver(task)) task();
    }

    const RemovalRules& rules_;
    // The listing thread's: the workers count for the step that started the walk.
    RemovedTally* const tally_;
    unsigned filesMet_ = 0;
    std::optional<DeletionPool> workers_;
};

} // namespace

// Iterative, with one path that grows and shrinks by a name, so a chain thousands of folders deep holds
// no stack per level; a folder is never listed a second time to remove it.
ContentsRemoval RemoveContents(const std::wstring& folder, const RemovalRules& rules) {
    Walk walk(rules);
    std::wstring path = folder;
    EntriesLeft entriesLeft;
    const auto top = std::make_unique<WalkFolder>(nullptr, folder, FILE_ATTRIBUTE_DIRECTORY);
    if (rules.namesEntriesLeft) top->entriesLeft = &entriesLeft;
    std::vector<OpenFolder> open;
    open.push_back({.folder = top.get(), .pathLength = path.size()});
    const bool listed = walk.List(path, open.back());
    bool stopped = false;
    while (listed && !open.empty()) {
        if (WalkStopRequested()) {
            stopped = true;
            break;
        }
        OpenFolder& current = open.back();
        path.resize(current.pathLength);
        if (current.next == current.subFolders.size()) {
            WalkFolder* done = current.folder;
            open.pop_back();
            DropHold(done);
            continue;
        }
        auto [name, attributes] = std::move(current.subFolders[current.next++]);
        if (path.back() != L'\\') path += L'\\';
        path += name;
        current.folder->holds.fetch_add(1, std::memory_order_relaxed);
        auto* sub = new WalkFolder(current.folder, std::move(name), attributes);
        walk.List(path, open.emplace_back(OpenFolder{sub, path.size()}));
    }
    // After a stop the folders still open are let go as they are: nothing more is removed.
    for (auto o = open.rbegin(); o != open.rend(); ++o)
        DropHold(o->folder);
    walk.Finish();
    return {.listed = listed,
            .allRemoved = listed && !stopped && top->allRemoved.load(),
            .entriesLeft = entriesLeft.Take()};
}

bool RemoveEntry(const std::wstring& path, DWORD attributes, const RemovalRules& rules) {
    const size_t slash = path.rfind(L'\\');
    FolderEntry entry{path, path.c_str() + (slash == std::wstring::npos ? 0 : slash + 1), attributes, 0};
    if (!entry.IsDirectory() || entry.IsLink()) {
        // Its size is counted as removed: a listing would have carried it.
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!entry.IsLink() && GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
            entry.size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
        return RemoveFile(entry, rules, RemovedTally::Current());
    }
    RemoveContents(path, rules);
    ClearReadOnly(path, attributes);
    return RemoveDirectoryW(path.c_str());
}
