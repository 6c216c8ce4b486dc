#include "cleaners/browsers/logins_json.h"

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::json;

constexpr int kMaxDepth = 64;

// Reads the document as events and keeps nothing of it: the passwords in it are never held in memory.
class LoginEntries {
  public:
    uint64_t count = 0;
    bool topIsObject = false;

    bool null() { return Value(); }
    bool boolean(bool) { return Value(); }
    bool number_integer(Json::number_integer_t) { return Value(); }
    bool number_unsigned(Json::number_unsigned_t) { return Value(); }
    bool number_float(Json::number_float_t, const Json::string_t&) { return Value(); }
    bool string(Json::string_t&) { return Value(); }
    bool binary(Json::binary_t&) { return Value(); }

    bool start_object(std::size_t) {
        if (depth_ == 0) topIsObject = true;
        if (InLogins()) ++count;
        return Enter();
    }
    bool start_array(std::size_t) {
        // {"logins": [...]}: the array that holds the entries.
        const bool logins = depth_ == 1 && loginsKey_;
        if (!Enter()) return false;
        if (logins) loginsDepth_ = depth_;
        return true;
    }
    bool end_object() { return Leave(); }
    bool end_array() { return Leave(); }

    bool key(Json::string_t& key) {
        loginsKey_ = depth_ == 1 && key == "logins";
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

  private:
    bool Enter() {
        loginsKey_ = false;
        return ++depth_ <= kMaxDepth;
    }
    bool Leave() {
        if (depth_ == loginsDepth_) loginsDepth_ = 0;
        --depth_;
        loginsKey_ = false;
        return true;
    }
    // A value at the top level of the logins array that is no object is no login.
    bool Value() {
        loginsKey_ = false;
        return true;
    }
    bool InLogins() const { return loginsDepth_ != 0 && depth_ == loginsDepth_; }

    int depth_ = 0;
    int loginsDepth_ = 0; // the depth inside the logins array, 0 outside it
    bool loginsKey_ = false;
};

} // namespace

std::optional<uint64_t> CountSavedLogins(std::string_view bytes) {
    if (bytes.size() > kMaxLoginsJsonBytes) return std::nullopt;
    LoginEntries entries;
    try {
        if (!Json::sax_parse(bytes.begin(), bytes.end(), &entries)) return std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
    if (!entries.topIsObject) return std::nullopt;
    return entries.count;
}
