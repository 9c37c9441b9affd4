#include "testbed/result_file/json_text.h"

#include <array>

namespace tav::result {
namespace {

void newLine(std::string& out, std::size_t depth) {
    out += '\n';
    out.append(depth, ' ');
}

// Values that nlohmann lays out itself, re-indented to `depth`.
template <class Json>
void appendDumped(std::string& out, const Json& value, std::size_t depth) {
    for (char c : value.dump(1)) {
        out += c;
        if (c == '\n') {
            out.append(depth, ' ');
        }
    }
}

template <class Json>
void appendAtDepth(std::string& out, const Json& value, std::size_t depth) {
    switch (value.type()) {
        case nlohmann::detail::value_t::string:
            appendJsonString(out, value.template get_ref<const std::string&>());
            return;
        case nlohmann::detail::value_t::boolean:
            out += value.template get<bool>() ? "true" : "false";
            return;
        case nlohmann::detail::value_t::null:
            out += "null";
            return;
        case nlohmann::detail::value_t::number_integer:
            out += std::to_string(value.template get<std::int64_t>());
            return;
        case nlohmann::detail::value_t::number_unsigned:
            out += std::to_string(value.template get<std::uint64_t>());
            return;
        case nlohmann::detail::value_t::array:
            if (value.empty()) {
                out += "[]";
                return;
            }
            out += '[';
            for (std::size_t i = 0; i < value.size(); ++i) {
                if (i > 0) {
                    out += ',';
                }
                newLine(out, depth + 1);
                appendAtDepth(out, value[i], depth + 1);
            }
            newLine(out, depth);
            out += ']';
            return;
        default:  // objects, floating-point numbers, binary
            appendDumped(out, value, depth);
            return;
    }
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
    static constexpr std::array<char, 16> hex{'0', '1', '2', '3', '4', '5', '6', '7',
                                              '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    out += '"';
    std::size_t plainFrom = 0;  // the start of the bytes that need no escape
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte != '"' && byte != '\\') {
            continue;  // UTF-8 passes through, as it does in nlohmann's dump
        }
        out.append(text.substr(plainFrom, i - plainFrom));
        plainFrom = i + 1;
        switch (byte) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += "\\u00";
                out += hex[byte >> 4];
                out += hex[byte & 0xF];
        }
    }
    out.append(text.substr(plainFrom));
    out += '"';
}

void appendJsonAtDepth(std::string& out, const nlohmann::json& value, std::size_t depth) {
    appendAtDepth(out, value, depth);
}

void appendJsonAtDepth(std::string& out, const nlohmann::ordered_json& value, std::size_t depth) {
    appendAtDepth(out, value, depth);
}

JsonObjectText::JsonObjectText(std::string& out, std::size_t depth) : out_(out), depth_(depth) {
    out_ += '{';
}

JsonObjectText::~JsonObjectText() {
    if (empty_) {
        out_ += '}';
        return;
    }
    newLine(out_, depth_);
    out_ += '}';
}

void JsonObjectText::key(std::string_view name) {
    if (!empty_) {
        out_ += ',';
    }
    empty_ = false;
    newLine(out_, depth_ + 1);
    appendJsonString(out_, name);
    out_ += ": ";
}

void JsonObjectText::text(std::string_view name, std::string_view value) {
    key(name);
    appendJsonString(out_, value);
}

void JsonObjectText::number(std::string_view name, std::int64_t value) {
    key(name);
    out_ += std::to_string(value);
}

void JsonObjectText::boolean(std::string_view name, bool value) {
    key(name);
    out_ += value ? "true" : "false";
}

void JsonObjectText::null(std::string_view name) {
    key(name);
    out_ += "null";
}

void JsonObjectText::json(std::string_view name, const nlohmann::json& value) {
    key(name);
    appendJsonAtDepth(out_, value, depth_ + 1);
}

}  // namespace tav::result
