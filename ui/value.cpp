#include "ui/value.h"

namespace htmlayout {

value::value() { ValueInit(&value_); }
value::value(int number) : value() { ValueIntDataSet(&value_, number, T_INT, 0); }
value::value(std::wstring_view text) : value() {
    ValueStringDataSet(&value_, text.data(), static_cast<unsigned>(text.size()), 0);
}
value::value(const value& other) : value() { ValueCopy(&value_, &other.value_); }
value& value::operator=(const value& other) {
    if (this != &other) ValueCopy(&value_, &other.value_);
    return *this;
}
value::~value() { ValueClear(&value_); }

int value::to_int() const {
    int number = 0;
    return ValueIntData(&value_, &number) == HV_OK ? number : 0;
}

std::wstring value::to_string() const {
    value text(*this);
    ValueToString(&text.value_, 0);
    const wchar_t* chars = nullptr;
    unsigned length = 0;
    if (ValueStringData(&text.value_, &chars, &length) != HV_OK || !chars) return {};
    return std::wstring(chars, length);
}

} // namespace htmlayout
