#pragma once
// An engine value (HL_VALUE) owned for its lifetime: cleared when it goes, copied with the engine's copy.
#include "engine/include/htmlayout_dom.h"

#include <map>
#include <string>
#include <string_view>

namespace htmlayout {

class value {
public:
    value();
    value(int number);
    value(std::wstring_view text);
    value(const value& other);
    value& operator=(const value& other);
    ~value();

    HL_VALUE& raw() { return value_; }
    const HL_VALUE& raw() const { return value_; }
    bool is_int() const { return value_.type == T_INT || value_.type == T_BOOL; }
    int to_int() const; // 0 when not a number
    std::wstring to_string() const;

private:
    HL_VALUE value_;
};

// Values to set on a page, by the "name" attribute of their elements.
using named_values = std::map<std::wstring, value>;

} // namespace htmlayout
