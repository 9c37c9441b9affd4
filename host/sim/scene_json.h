// Strict reading of a scene's JSON: syntax errors and duplicate keys are
// refused while parsing, and every read names the JSON path of what it reads,
// so that each refusal is one line saying where and what is wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace tav::sim::scene_json {

// Keeps the keys of every object in file order.
using Json = nlohmann::ordered_json;

// Parses `text`; raises SceneError for invalid JSON (with line and column) and
// for a key that appears twice in one object.
Json parseStrict(std::string_view text, std::string_view fileName);

// One value of the document and where it is.
class Field {
  public:
    Field(const Json& json, std::string path, std::string_view fileName);

    const std::string& path() const { return path_; }
    [[noreturn]] void refuse(std::string_view what) const;

    bool isNull() const { return json_->is_null(); }
    bool isObject() const { return json_->is_object(); }
    bool has(std::string_view key) const;

    // Object reads. `allowOnly` refuses any key not listed.
    void allowOnly(std::initializer_list<std::string_view> keys) const;
    Field required(std::string_view key) const;
    std::optional<Field> optional(std::string_view key) const;
    std::vector<std::pair<std::string, Field>> members() const;

    // Array reads.
    std::vector<Field> elements() const;

    // Scalar reads.
    std::string text() const;
    std::u16string utf16() const;
    bool boolean() const;
    // A whole number that fits 32 bits (1.0 counts as whole).
    std::int32_t int32() const;
    // Any finite number.
    double number() const;

  private:
    Field child(std::string path, const Json& json) const;

    const Json* json_;
    std::string path_;
    std::string_view fileName_;
};

// "FILE: PATH: WHAT" on one line.
std::string refusalMessage(std::string_view fileName, std::string_view path, std::string_view what);

}  // namespace tav::sim::scene_json
