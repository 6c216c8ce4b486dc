#pragma once
// An element handle that holds a use-count for as long as it is kept.
#include "engine/include/htmlayout_dom.h"

#include <utility>

namespace htmlayout {

class scoped_element {
public:
    scoped_element() = default;
    // Takes a use-count of its own on `he` (a handle the engine lent, e.g. to a callback).
    scoped_element(HELEMENT he) : he_(he) { use(); }
    scoped_element(const scoped_element& other) : he_(other.he_) { use(); }
    scoped_element(scoped_element&& other) noexcept : he_(std::exchange(other.he_, nullptr)) {}
    scoped_element& operator=(scoped_element other) noexcept {
        std::swap(he_, other.he_);
        return *this;
    }
    ~scoped_element() { reset(); }

    void reset() {
        if (he_) HTMLayout_UnuseElement(std::exchange(he_, nullptr));
    }
    HELEMENT get() const { return he_; }
    operator HELEMENT() const { return he_; }

private:
    void use() {
        if (he_) HTMLayout_UseElement(he_);
    }
    HELEMENT he_ = nullptr;
};

} // namespace htmlayout
