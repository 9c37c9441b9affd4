// JSON text written straight into a string, in exactly the layout of
// nlohmann's dump with an indent of 1, without building a value first: the
// result file of a large drawing holds hundreds of thousands of small
// objects, and building each as a JSON value cost more than the run itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace tav::result {

// `text` (UTF-8) as a JSON string, escaped as nlohmann's dump escapes it.
void appendJsonString(std::string& out, std::string_view text);

// `value` as nlohmann's dump(1) writes it when it sits `depth` levels deep.
void appendJsonAtDepth(std::string& out, const nlohmann::json& value, std::size_t depth);
void appendJsonAtDepth(std::string& out, const nlohmann::ordered_json& value, std::size_t depth);

// One JSON object, field after field; closed when it goes out of scope.
class JsonObjectText {
  public:
    JsonObjectText(std::string& out, std::size_t depth);
    JsonObjectText(const JsonObjectText&) = delete;
    JsonObjectText& operator=(const JsonObjectText&) = delete;
    ~JsonObjectText();

    void text(std::string_view name, std::string_view value);
    void number(std::string_view name, std::int64_t value);
    void boolean(std::string_view name, bool value);
    void null(std::string_view name);
    void json(std::string_view name, const nlohmann::json& value);

  private:
    void key(std::string_view name);

    std::string& out_;
    std::size_t depth_;
    bool empty_ = true;
};

}  // namespace tav::result
