#pragma once
// Intrusive reference counting: nodes are shared by the tree, by handles the program holds, and by
// dispatches under way, and live as long as any of them.

#include <utility>

namespace engine {

class RefCounted {
public:
    RefCounted() = default;
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    void AddRef() { ++refs_; }
    void Release() {
        if (--refs_ == 0) delete this;
    }

protected:
    virtual ~RefCounted() = default;

private:
    int refs_ = 0;
};

template <typename T>
class Ref {
public:
    Ref() = default;
    Ref(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    Ref(const Ref& o) : Ref(o.p_) {}
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <typename U>
    Ref(const Ref<U>& o) : Ref(o.Get()) {}
    ~Ref() {
        if (p_) p_->Release();
    }
    Ref& operator=(Ref o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    bool operator==(const Ref& o) const { return p_ == o.p_; }

private:
    T* p_ = nullptr;
};

} // namespace engine
