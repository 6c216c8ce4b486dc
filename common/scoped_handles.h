#pragma once
// Scoped owners for the raw handles of the Windows API, so that no early return leaks one.
#include <windows.h>

#include <utility>

namespace scoped {

// Traits: the handle type, its "none" value, and how it is closed.
template <typename Traits>
class Handle {
public:
    using Raw = typename Traits::Raw;

    Handle() = default;
    explicit Handle(Raw raw) : raw_(raw) {}
    ~Handle() { Reset(); }
    Handle(Handle&& other) noexcept : raw_(std::exchange(other.raw_, Traits::None())) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            Reset();
            raw_ = std::exchange(other.raw_, Traits::None());
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    Raw Get() const { return raw_; }
    // For the out-parameter of an opening call; closes what was held.
    Raw* Out() {
        Reset();
        return &raw_;
    }
    explicit operator bool() const { return raw_ != Traits::None(); }
    Raw Release() { return std::exchange(raw_, Traits::None()); }
    // The result of closing, for callers whose contract reports it.
    auto Reset() {
        decltype(Traits::Close(raw_)) rc{};
        if (raw_ != Traits::None()) rc = Traits::Close(std::exchange(raw_, Traits::None()));
        return rc;
    }

private:
    Raw raw_ = Traits::None();
};

struct KernelTraits {
    using Raw = HANDLE;
    static Raw None() { return nullptr; }
    static BOOL Close(Raw h) { return CloseHandle(h); }
};
struct FileTraits { // CreateFileW answers INVALID_HANDLE_VALUE, not null
    using Raw = HANDLE;
    static Raw None() { return INVALID_HANDLE_VALUE; }
    static BOOL Close(Raw h) { return CloseHandle(h); }
};
struct FindTraits {
    using Raw = HANDLE;
    static Raw None() { return INVALID_HANDLE_VALUE; }
    static BOOL Close(Raw h) { return FindClose(h); }
};
struct RegKeyTraits {
    using Raw = HKEY;
    static Raw None() { return nullptr; }
    static LONG Close(Raw h) { return RegCloseKey(h); }
};

using KernelHandle = Handle<KernelTraits>;
using FileHandle = Handle<FileTraits>;
using FindHandle = Handle<FindTraits>;
using RegKey = Handle<RegKeyTraits>;

} // namespace scoped
