#include "engine/dom/handle_table.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace engine {
namespace {

constexpr unsigned kIndexBits = 20;
constexpr std::uint32_t kIndexMask = (1u << kIndexBits) - 1;
constexpr std::uint32_t kGenerationMask = (1u << (32 - kIndexBits)) - 1;

struct Slot {
    Element* element = nullptr;
    std::uint32_t generation = 1;
};

struct Table {
    std::vector<Slot> slots;
    // Freed slots are reused oldest first, so a generation comes round again as late as possible.
    std::deque<std::uint32_t> free;
};

Table& TheTable() {
    static Table table;
    return table;
}

std::uint32_t Encode(std::uint32_t index, std::uint32_t generation) {
    return (generation << kIndexBits) | (index + 1);
}

} // namespace

HELEMENT RegisterHandle(Element* element) {
    Table& t = TheTable();
    std::uint32_t index;
    if (!t.free.empty() && (t.free.size() > 1024 || t.slots.size() >= kIndexMask)) {
        index = t.free.front();
        t.free.pop_front();
    } else if (t.slots.size() < kIndexMask - 1) {
        index = static_cast<std::uint32_t>(t.slots.size());
        t.slots.emplace_back();
    } else {
        return nullptr; // more than a million live elements: the element gets no handle
    }
    t.slots[index].element = element;
    return reinterpret_cast<HELEMENT>(static_cast<std::uintptr_t>(Encode(index, t.slots[index].generation)));
}

void UnregisterHandle(HELEMENT handle) {
    auto value = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
    if (value == 0) return;
    Table& t = TheTable();
    std::uint32_t index = (value & kIndexMask) - 1;
    Slot& slot = t.slots[index];
    slot.element = nullptr;
    slot.generation = (slot.generation + 1) & kGenerationMask;
    if (slot.generation == 0) slot.generation = 1;
    t.free.push_back(index);
}

Element* ElementFromHandle(HELEMENT handle) {
    auto value = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
    if ((value & kIndexMask) == 0) return nullptr;
    const Table& t = TheTable();
    std::uint32_t index = (value & kIndexMask) - 1;
    if (index >= t.slots.size()) return nullptr;
    const Slot& slot = t.slots[index];
    if (slot.generation != (value >> kIndexBits)) return nullptr;
    return slot.element;
}

} // namespace engine
