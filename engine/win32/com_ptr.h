#pragma once
// Owns one reference to a COM object and releases it, however the scope is left.

namespace engine::win32 {

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    // For functions that hand out a new reference through a pointer to a pointer.
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }

private:
    T* p_ = nullptr;
};

} // namespace engine::win32
