// The value functions of the C interface. A string value owns a block with its length and characters.

#include "engine/include/htmlayout_dom.h"

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

struct StringBlock {
    unsigned length;
    wchar_t chars[1];
};

StringBlock* BlockOf(const HL_VALUE* v) {
    return reinterpret_cast<StringBlock*>(static_cast<std::uintptr_t>(v->data));
}

StringBlock* NewBlock(const wchar_t* chars, unsigned length) {
    void* memory = ::operator new(sizeof(StringBlock) + sizeof(wchar_t) * length);
    auto* block = static_cast<StringBlock*>(memory);
    block->length = length;
    if (length) std::memcpy(block->chars, chars, sizeof(wchar_t) * length);
    block->chars[length] = 0;
    return block;
}

void Store(HL_VALUE* v, unsigned type, unsigned units, unsigned long long data) {
    ValueClear(v);
    v->type = type;
    v->units = units;
    v->data = data;
}

} // namespace

extern "C" {

unsigned HLCALL ValueInit(HL_VALUE* value) {
    if (!value) return HV_BAD_PARAMETER;
    *value = HL_VALUE{T_UNDEFINED, 0, 0};
    return HV_OK;
}

unsigned HLCALL ValueClear(HL_VALUE* value) {
    if (!value) return HV_BAD_PARAMETER;
    if (value->type == T_STRING && value->data) ::operator delete(BlockOf(value));
    *value = HL_VALUE{T_UNDEFINED, 0, 0};
    return HV_OK;
}

unsigned HLCALL ValueCopy(HL_VALUE* destination, const HL_VALUE* source) {
    if (!destination || !source) return HV_BAD_PARAMETER;
    if (destination == source) return HV_OK;
    if (source->type == T_STRING && source->data) {
        const StringBlock* block = BlockOf(source);
        Store(destination, T_STRING, source->units, reinterpret_cast<std::uintptr_t>(NewBlock(block->chars, block->length)));
    } else {
        Store(destination, source->type, source->units, source->data);
    }
    return HV_OK;
}

unsigned HLCALL ValueIntData(const HL_VALUE* value, int* data) {
    if (!value || !data) return HV_BAD_PARAMETER;
    if (value->type != T_INT && value->type != T_BOOL) return HV_INCOMPATIBLE_TYPE;
    *data = static_cast<int>(value->data);
    return HV_OK;
}

unsigned HLCALL ValueIntDataSet(HL_VALUE* value, int data, unsigned type, unsigned units) {
    if (!value) return HV_BAD_PARAMETER;
    Store(value, type == T_BOOL ? T_BOOL : T_INT, units, static_cast<unsigned long long>(static_cast<unsigned>(data)));
    return HV_OK;
}

unsigned HLCALL ValueFloatData(const HL_VALUE* value, double* data) {
    if (!value || !data) return HV_BAD_PARAMETER;
    if (value->type == T_INT || value->type == T_BOOL) {
        *data = static_cast<int>(value->data);
        return HV_OK;
    }
    if (value->type != T_FLOAT) return HV_INCOMPATIBLE_TYPE;
    std::memcpy(data, &value->data, sizeof *data);
    return HV_OK;
}

unsigned HLCALL ValueFloatDataSet(HL_VALUE* value, double data, unsigned, unsigned units) {
    if (!value) return HV_BAD_PARAMETER;
    unsigned long long bits;
    std::memcpy(&bits, &data, sizeof bits);
    Store(value, T_FLOAT, units, bits);
    return HV_OK;
}

unsigned HLCALL ValueStringData(const HL_VALUE* value, const wchar_t** chars, unsigned* length) {
    if (!value || !chars) return HV_BAD_PARAMETER;
    if (value->type != T_STRING) return HV_INCOMPATIBLE_TYPE;
    const StringBlock* block = BlockOf(value);
    *chars = block ? block->chars : L"";
    if (length) *length = block ? block->length : 0;
    return HV_OK;
}

unsigned HLCALL ValueStringDataSet(HL_VALUE* value, const wchar_t* chars, unsigned length, unsigned units) {
    if (!value || (!chars && length)) return HV_BAD_PARAMETER;
    Store(value, T_STRING, units, reinterpret_cast<std::uintptr_t>(NewBlock(chars, length)));
    return HV_OK;
}

unsigned HLCALL ValueToString(HL_VALUE* value, unsigned) {
    if (!value) return HV_BAD_PARAMETER;
    std::wstring text;
    switch (value->type) {
    case T_STRING: return HV_OK;
    case T_BOOL: text = value->data ? L"true" : L"false"; break;
    case T_INT: text = std::to_wstring(static_cast<int>(value->data)); break;
    case T_FLOAT: {
        double d;
        std::memcpy(&d, &value->data, sizeof d);
        wchar_t buffer[40];
        std::swprintf(buffer, 40, L"%g", d);
        text = buffer;
        break;
    }
    default: break; // undefined and null read as empty text
    }
    return ValueStringDataSet(value, text.c_str(), static_cast<unsigned>(text.size()), 0);
}

} // extern "C"
