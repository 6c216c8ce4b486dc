#include "cleaners/browsers/local_state_profiles.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>

namespace {

using Json = nlohmann::json;

// "Local State" nests a handful of levels; a deeper document is refused before it costs memory.
constexpr int kMaxDepth = 64;

// Reads the document as events, so that nothing but the wanted keys is kept: no tree is built for a
// document of any size or depth.
class InfoCacheKeys {
  public:
    std::vector<std::string> names;

    bool null() { return true; }
    bool boolean(bool) { return true; }
    bool number_integer(Json::number_integer_t) { return true; }
    bool number_unsigned(Json::number_unsigned_t) { return true; }
    bool number_float(Json::number_float_t, const Json::string_t&) { return true; }
    bool string(Json::string_t&) { return true; }
    bool binary(Json::binary_t&) { return true; }

    bool start_object(std::size_t) { return Enter(true); }
    bool start_array(std::size_t) { return Enter(false); }
    bool end_object() { return Leave(); }
    bool end_array() { return Leave(); }

    bool key(Json::string_t& key) {
        keys_[depth_] = key;
        if (depth_ == 3 && InInfoCache()) names.push_back(key);
        return true;
    }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

  private:
    bool Enter(bool object) {
        if (++depth_ > kMaxDepth) return false;
        objects_[depth_] = object;
        keys_[depth_].clear();
        return true;
    }
    bool Leave() {
        --depth_;
        return true;
    }
    // Inside the object at {"profile": {"info_cache": {...}}}.
    bool InInfoCache() const {
        return objects_[1] && objects_[2] && objects_[3] && keys_[1] == "profile" && keys_[2] == "info_cache";
    }

    int depth_ = 0;
    std::array<bool, kMaxDepth + 1> objects_{};
    std::array<std::string, kMaxDepth + 1> keys_{};
};

} // namespace

bool IsPlainFolderName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ') return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 ||
               std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
    });
}

std::vector<std::string> ProfileNamesInLocalState(std::string_view bytes) {
    if (bytes.size() > kMaxLocalStateBytes) return {};
    InfoCacheKeys keys;
    try {
        if (!Json::sax_parse(bytes.begin(), bytes.end(), &keys)) return {};
    } catch (...) {
        // Out of memory, or a fault of the library: the folder rule still finds the profiles.
        return {};
    }
    std::vector<std::string> names;
    for (std::string& name : keys.names) {
        if (!IsPlainFolderName(name) || name == "System Profile" || name == "Guest Profile") continue;
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
    }
    return names;
}
