// Strict reading of a scene's JSON. The parse builds a compact tree of its
// own in one pass (linear in time and memory, whatever the nesting) and
// refuses, while parsing, invalid JSON, a NUL byte, a key that appears twice
// in one object, a number that does not fit a double and nesting beyond a
// limit. Every read afterwards names the JSON path of what it reads, built
// only when something is refused, so that each refusal is one line saying
// where and what is wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tav::sim::scene_json {

// How deep arrays under one key may nest: a value inside more than `levels`
// open `key` arrays is refused, saying that `whatNests` may nest at most
// `levels` levels deep.
struct NestingLimit {
    std::string_view key;
    std::size_t levels = 0;
    std::string_view whatNests;
};

// A parsed JSON document. Objects keep their keys in file order.
class Tree {
  public:
    using Index = std::uint32_t;
    static constexpr Index none = UINT32_MAX;
    enum class Kind : std::uint8_t {
        null,
        boolean,
        integer,
        unsignedInteger,
        floating,
        text,
        object,
        array
    };

    struct Span {
        std::uint32_t offset;
        std::uint32_t length;
    };

    struct Node {
        Kind kind = Kind::null;
        bool boolean = false;
        Index parent = none;
        Index firstChild = none;
        Index nextSibling = none;
        std::uint32_t childCount = 0;
        Span key{};  // in the string pool, for a member of an object
        union Value {
            double floating;
            std::int64_t integer;
            std::uint64_t unsignedInteger;
            Span text;  // in the string pool
        } value{};
    };

    const Node& node(Index index) const { return nodes_[index]; }
    std::size_t size() const { return nodes_.size(); }
    std::string_view key(Index index) const;
    std::string_view text(Index index) const;
    // "drawingViews[1].root.children[0]"; empty for the top level.
    std::string pathOf(Index index) const;

  private:
    friend class TreeBuilder;
    std::vector<Node> nodes_;
    std::string strings_;
};

// Parses `text`; raises SceneError for invalid JSON (with line and column),
// and for a duplicate key, a number out of range or nesting beyond `limit`
// (with the JSON path).
Tree parseStrict(std::string_view text, std::string_view fileName, const NestingLimit& limit);

// One value of the document and where it is.
class Field {
  public:
    Field(const Tree& tree, Tree::Index node, std::string_view fileName)
        : tree_(&tree), node_(node), fileName_(fileName) {}

    std::string path() const { return tree_->pathOf(node_); }
    [[noreturn]] void refuse(std::string_view what) const;

    bool isNull() const { return kind() == Tree::Kind::null; }
    bool isObject() const { return kind() == Tree::Kind::object; }
    bool has(std::string_view key) const;

    // Object reads. `allowOnly` refuses any key not listed.
    void allowOnly(std::initializer_list<std::string_view> keys) const;
    Field required(std::string_view key) const;
    std::optional<Field> optional(std::string_view key) const;
    std::vector<std::pair<std::string_view, Field>> members() const;

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
    Tree::Kind kind() const { return tree_->node(node_).kind; }
    Field at(Tree::Index node) const { return Field(*tree_, node, fileName_); }
    void requireObject() const;

    const Tree* tree_;
    Tree::Index node_;
    std::string_view fileName_;
};

// "FILE: PATH: WHAT" on one line.
std::string refusalMessage(std::string_view fileName, std::string_view path, std::string_view what);

}  // namespace tav::sim::scene_json
