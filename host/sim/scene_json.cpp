#include "host/sim/scene_json.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

#include "host/sim/scene_error.h"
#include "host/utf.h"

namespace tav::sim::scene_json {
namespace {

// Follows the parser's events to know the path of every key it reads, and
// refuses the second occurrence of a key in one object.
class DuplicateKeyWatch {
  public:
    explicit DuplicateKeyWatch(std::string_view fileName) : fileName_(fileName) {}

    bool onEvent(nlohmann::json::parse_event_t event, const Json& parsed) {
        using Event = nlohmann::json::parse_event_t;
        switch (event) {
            case Event::object_start:
                enterElement();
                levels_.push_back({false, {}, -1, {}});
                break;
            case Event::array_start:
                enterElement();
                levels_.push_back({true, {}, -1, {}});
                break;
            case Event::object_end:
            case Event::array_end:
                levels_.pop_back();
                break;
            case Event::key:
                onKey(parsed.get<std::string>());
                break;
            case Event::value:
                enterElement();
                break;
        }
        return true;
    }

  private:
    struct Level {
        bool isArray = false;
        std::string key;
        long long index = -1;
        std::set<std::string> keys;
    };

    void enterElement() {
        if (!levels_.empty() && levels_.back().isArray) {
            ++levels_.back().index;
        }
    }

    void onKey(std::string key) {
        Level& level = levels_.back();
        level.key = std::move(key);
        if (!level.keys.insert(level.key).second) {
            throw SceneError(refusalMessage(fileName_, currentPath(), "duplicate key"));
        }
    }

    std::string currentPath() const {
        std::string path;
        for (const Level& level : levels_) {
            if (level.isArray) {
                path += "[" + std::to_string(level.index) + "]";
            } else {
                path += (path.empty() ? "" : ".") + level.key;
            }
        }
        return path;
    }

    std::string_view fileName_;
    std::vector<Level> levels_;
};

// "line L, column C: invalid JSON: REASON", at the last character the parser
// read (columns count bytes from 1).
std::string syntaxErrorText(const nlohmann::json::parse_error& error, std::string_view text) {
    std::size_t offset = std::min<std::size_t>(error.byte > 0 ? error.byte - 1 : 0, text.size());
    std::string_view before = text.substr(0, offset);
    std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    std::size_t lineStart = before.rfind('\n');
    std::size_t column = lineStart == std::string_view::npos ? offset + 1 : offset - lineStart;
    std::string reason = error.what();
    std::size_t colon = reason.find(": ");
    if (colon != std::string::npos) {
        reason = reason.substr(colon + 2);
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column) +
           ": invalid JSON: " + reason;
}

}  // namespace

std::string refusalMessage(std::string_view fileName, std::string_view path,
                           std::string_view what) {
    std::string message;
    message.append(fileName).append(": ");
    message.append(path.empty() ? std::string_view("top level") : path).append(": ");
    message.append(what);
    for (char& c : message) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return message;
}

Json parseStrict(std::string_view text, std::string_view fileName) {
    DuplicateKeyWatch watch(fileName);
    try {
        return Json::parse(text.begin(), text.end(),
                           [&watch](int, nlohmann::json::parse_event_t event, Json& parsed) {
                               return watch.onEvent(event, parsed);
                           });
    } catch (const nlohmann::json::parse_error& error) {
        throw SceneError(std::string(fileName) + ": " + syntaxErrorText(error, text));
    }
}

Field::Field(const Json& json, std::string path, std::string_view fileName)
    : json_(&json), path_(std::move(path)), fileName_(fileName) {}

void Field::refuse(std::string_view what) const {
    throw SceneError(refusalMessage(fileName_, path_, what));
}

Field Field::child(std::string path, const Json& json) const {
    return Field(json, std::move(path), fileName_);
}

bool Field::has(std::string_view key) const {
    return json_->is_object() && json_->contains(key);
}

void Field::allowOnly(std::initializer_list<std::string_view> keys) const {
    if (!json_->is_object()) {
        refuse("must be an object");
    }
    for (const auto& [key, value] : json_->items()) {
        bool known = false;
        std::string expected;
        for (std::string_view allowed : keys) {
            known = known || allowed == key;
            expected.append(expected.empty() ? "" : ", ").append(allowed);
        }
        if (!known) {
            std::string path = path_.empty() ? key : path_ + "." + key;
            child(path, value).refuse("unknown key (expected one of: " + expected + ")");
        }
    }
}

std::optional<Field> Field::optional(std::string_view key) const {
    if (!json_->is_object()) {
        refuse("must be an object");
    }
    auto found = json_->find(key);
    if (found == json_->end()) {
        return std::nullopt;
    }
    std::string path = path_.empty() ? std::string(key) : path_ + "." + std::string(key);
    return child(std::move(path), *found);
}

Field Field::required(std::string_view key) const {
    std::optional<Field> field = optional(key);
    if (!field) {
        std::string path = path_.empty() ? std::string(key) : path_ + "." + std::string(key);
        child(path, *json_).refuse("is required");
    }
    return *field;
}

std::vector<std::pair<std::string, Field>> Field::members() const {
    if (!json_->is_object()) {
        refuse("must be an object");
    }
    std::vector<std::pair<std::string, Field>> result;
    for (const auto& [key, value] : json_->items()) {
        result.emplace_back(key, child(path_.empty() ? key : path_ + "." + key, value));
    }
    return result;
}

std::vector<Field> Field::elements() const {
    if (!json_->is_array()) {
        refuse("must be an array");
    }
    std::vector<Field> result;
    std::size_t index = 0;
    for (const Json& value : *json_) {
        result.push_back(child(path_ + "[" + std::to_string(index++) + "]", value));
    }
    return result;
}

std::string Field::text() const {
    if (!json_->is_string()) {
        refuse("must be a string");
    }
    return json_->get<std::string>();
}

std::u16string Field::utf16() const {
    return host::toUtf16(text());
}

bool Field::boolean() const {
    if (!json_->is_boolean()) {
        refuse("must be true or false");
    }
    return json_->get<bool>();
}

std::int32_t Field::int32() const {
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    constexpr auto highest = std::numeric_limits<std::int32_t>::max();
    bool fits = false;
    if (json_->is_number_unsigned()) {
        fits = json_->get<std::uint64_t>() <= static_cast<std::uint64_t>(highest);
    } else if (json_->is_number_integer()) {
        auto value = json_->get<std::int64_t>();
        fits = value >= lowest && value <= highest;
    } else if (json_->is_number_float()) {
        double value = json_->get<double>();
        fits = std::isfinite(value) && value == std::floor(value) && value >= lowest &&
               value <= highest;
    }
    if (!fits) {
        refuse("must be a whole number from -2147483648 to 2147483647");
    }
    return static_cast<std::int32_t>(json_->get<double>());
}

double Field::number() const {
    if (!json_->is_number() || !std::isfinite(json_->get<double>())) {
        refuse("must be a finite number");
    }
    return json_->get<double>();
}

}  // namespace tav::sim::scene_json
