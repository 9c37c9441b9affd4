#include "host/sim/scene_json.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <unordered_set>

#include <nlohmann/json.hpp>

#include "host/sim/scene_error.h"
#include "platform/utf.h"

namespace tav::sim::scene_json {
namespace {

using Json = nlohmann::json;

// The id nlohmann gives a number that does not fit a double.
constexpr int numberOverflow = 406;

// Objects with more keys than this check for a repeated key by hash.
constexpr std::uint32_t keysScannedInLine = 16;

std::string joinedPath(const std::string& parent, std::string_view key) {
    std::string path = parent;
    if (!path.empty()) {
        path += '.';
    }
    path.append(key);
    return path;
}

// "line L, column C" of the character at `offset` (columns count bytes from 1).
std::string lineAndColumn(std::string_view text, std::size_t offset) {
    std::string_view before = text.substr(0, std::min(offset, text.size()));
    std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    std::size_t lineStart = before.rfind('\n');
    std::size_t column = lineStart == std::string_view::npos ? offset + 1 : offset - lineStart;
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

// Builds the tree from the parser's events. Open objects and arrays are kept
// on a stack of their own, so nesting costs no recursion.
class TreeBuilder {
  public:
    TreeBuilder(Tree& tree, std::string_view text, std::string_view fileName,
                const NestingLimit& limit)
        : tree_(tree), text_(text), fileName_(fileName), limit_(limit) {}

    bool null() {
        add(Tree::Kind::null);
        return true;
    }

    bool boolean(bool value) {
        add(Tree::Kind::boolean).boolean = value;
        return true;
    }

    bool number_integer(Json::number_integer_t value) {
        add(Tree::Kind::integer).value.integer = value;
        return true;
    }

    bool number_unsigned(Json::number_unsigned_t value) {
        add(Tree::Kind::unsignedInteger).value.unsignedInteger = value;
        return true;
    }

    bool number_float(Json::number_float_t value, const Json::string_t&) {
        add(Tree::Kind::floating).value.floating = value;
        return true;
    }

    bool string(Json::string_t& value) {
        Tree::Span text = store(value);
        add(Tree::Kind::text).value.text = text;
        return true;
    }

    bool binary(Json::binary_t&) { return false; }  // JSON text holds none

    bool start_object(std::size_t) {
        open(add(Tree::Kind::object), false);
        return true;
    }

    bool key(Json::string_t& key) {
        Open& object = open_.back();
        refuseRepeated(object, key);
        pendingKey_ = store(key);
        return true;
    }

    bool end_object() {
        close();
        return true;
    }

    bool start_array(std::size_t) {
        Tree::Node& array = add(Tree::Kind::array);
        bool nests = array.parent != Tree::none &&
                     tree_.nodes_[array.parent].kind == Tree::Kind::object &&
                     tree_.key(index(array)) == limit_.key;
        open(array, nests);
        return true;
    }

    bool end_array() {
        close();
        return true;
    }

    bool parse_error(std::size_t position, const std::string&, const Json::exception& error) {
        if (error.id == numberOverflow) {
            refuseAt(pathOfNext(), "does not fit a double-precision number");
        }
        std::string reason = error.what();
        std::size_t colon = reason.find(": ");
        if (colon != std::string::npos) {
            reason = reason.substr(colon + 2);
        }
        // `position` counts the characters read; the last one is at fault.
        throw SceneError(std::string(fileName_) + ": " +
                         lineAndColumn(text_, position > 0 ? position - 1 : 0) +
                         ": invalid JSON: " + reason);
    }

  private:
    struct Open {
        Tree::Index node = Tree::none;
        Tree::Index lastChild = Tree::none;
        bool nests = false;
        // The keys of a large object, for the repeated-key check.
        std::unique_ptr<std::unordered_set<std::string>> keys;
    };

    Tree::Index index(const Tree::Node& node) const {
        return static_cast<Tree::Index>(&node - tree_.nodes_.data());
    }

    Tree::Span store(std::string_view text) {
        Tree::Span span{static_cast<std::uint32_t>(tree_.strings_.size()),
                        static_cast<std::uint32_t>(text.size())};
        tree_.strings_.append(text);
        return span;
    }

    // A new value in the innermost open object or array (or the top level).
    Tree::Node& add(Tree::Kind kind) {
        Tree::Index added = static_cast<Tree::Index>(tree_.nodes_.size());
        Tree::Node& node = tree_.nodes_.emplace_back();
        node.kind = kind;
        if (open_.empty()) {
            return node;
        }
        Open& owner = open_.back();
        Tree::Node& parent = tree_.nodes_[owner.node];
        node.parent = owner.node;
        if (parent.kind == Tree::Kind::object) {
            node.key = pendingKey_;
        }
        if (owner.lastChild == Tree::none) {
            parent.firstChild = added;
        } else {
            tree_.nodes_[owner.lastChild].nextSibling = added;
        }
        owner.lastChild = added;
        ++parent.childCount;
        if (nestedArrays_ > limit_.levels) {
            refuseAt(tree_.pathOf(added), std::string(limit_.whatNests) + " may nest at most " +
                                              std::to_string(limit_.levels) + " levels deep");
        }
        return node;
    }

    void open(const Tree::Node& node, bool nests) {
        open_.push_back({index(node), Tree::none, nests, nullptr});
        nestedArrays_ += nests ? 1 : 0;
    }

    void close() {
        nestedArrays_ -= open_.back().nests ? 1 : 0;
        open_.pop_back();
    }

    void refuseRepeated(Open& object, const std::string& key) {
        const Tree::Node& node = tree_.nodes_[object.node];
        bool repeated = false;
        if (node.childCount < keysScannedInLine) {
            for (Tree::Index child = node.firstChild; child != Tree::none && !repeated;
                 child = tree_.nodes_[child].nextSibling) {
                repeated = tree_.key(child) == key;
            }
        } else {
            if (!object.keys) {
                object.keys = std::make_unique<std::unordered_set<std::string>>();
                for (Tree::Index child = node.firstChild; child != Tree::none;
                     child = tree_.nodes_[child].nextSibling) {
                    object.keys->emplace(tree_.key(child));
                }
            }
            repeated = !object.keys->insert(key).second;
        }
        if (repeated) {
            refuseAt(joinedPath(tree_.pathOf(object.node), key), "duplicate key");
        }
    }

    // Where the value the parser is reading would go.
    std::string pathOfNext() const {
        if (open_.empty()) {
            return "";
        }
        const Tree::Node& owner = tree_.nodes_[open_.back().node];
        std::string path = tree_.pathOf(open_.back().node);
        if (owner.kind == Tree::Kind::array) {
            return path + "[" + std::to_string(owner.childCount) + "]";
        }
        return joinedPath(
            path, std::string_view(tree_.strings_).substr(pendingKey_.offset, pendingKey_.length));
    }

    [[noreturn]] void refuseAt(const std::string& path, std::string_view what) const {
        throw SceneError(refusalMessage(fileName_, path, what));
    }

    Tree& tree_;
    std::string_view text_;
    std::string_view fileName_;
    const NestingLimit& limit_;
    std::vector<Open> open_;
    std::size_t nestedArrays_ = 0;
    Tree::Span pendingKey_{};
};

std::string_view Tree::key(Index index) const {
    const Span& key = nodes_[index].key;
    return std::string_view(strings_).substr(key.offset, key.length);
}

std::string_view Tree::text(Index index) const {
    const Span& text = nodes_[index].value.text;
    return std::string_view(strings_).substr(text.offset, text.length);
}

std::string Tree::pathOf(Index index) const {
    std::vector<Index> chain;
    for (Index at = index; nodes_[at].parent != none; at = nodes_[at].parent) {
        chain.push_back(at);
    }
    std::string path;
    for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
        const Node& parent = nodes_[nodes_[*at].parent];
        if (parent.kind == Kind::array) {
            std::size_t position = 0;
            for (Index sibling = parent.firstChild; sibling != *at;
                 sibling = nodes_[sibling].nextSibling) {
                ++position;
            }
            path += "[" + std::to_string(position) + "]";
        } else {
            path = joinedPath(path, key(*at));
        }
    }
    return path;
}

Tree parseStrict(std::string_view text, std::string_view fileName, const NestingLimit& limit) {
    // The parser would take a NUL byte for the end of the text and ignore
    // what follows; JSON allows none anywhere.
    if (std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
        throw SceneError(std::string(fileName) + ": " + lineAndColumn(text, nul) +
                         ": invalid JSON: a NUL byte");
    }
    Tree tree;
    TreeBuilder builder(tree, text, fileName, limit);
    if (!Json::sax_parse(text, &builder)) {
        throw SceneError(std::string(fileName) + ": invalid JSON");  // binary values only
    }
    return tree;
}

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

void Field::refuse(std::string_view what) const {
    throw SceneError(refusalMessage(fileName_, path(), what));
}

void Field::requireObject() const {
    if (!isObject()) {
        refuse("must be an object");
    }
}

bool Field::has(std::string_view key) const {
    return isObject() && optional(key).has_value();
}

void Field::allowOnly(std::initializer_list<std::string_view> keys) const {
    requireObject();
    for (const auto& [key, value] : members()) {
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            std::string expected;
            for (std::string_view allowed : keys) {
                expected.append(expected.empty() ? "" : ", ").append(allowed);
            }
            value.refuse("unknown key (expected one of: " + expected + ")");
        }
    }
}

std::optional<Field> Field::optional(std::string_view key) const {
    requireObject();
    for (Tree::Index child = tree_->node(node_).firstChild; child != Tree::none;
         child = tree_->node(child).nextSibling) {
        if (tree_->key(child) == key) {
            return at(child);
        }
    }
    return std::nullopt;
}

Field Field::required(std::string_view key) const {
    std::optional<Field> field = optional(key);
    if (!field) {
        throw SceneError(refusalMessage(fileName_, joinedPath(path(), key), "is required"));
    }
    return *field;
}

std::vector<std::pair<std::string_view, Field>> Field::members() const {
    requireObject();
    std::vector<std::pair<std::string_view, Field>> result;
    result.reserve(tree_->node(node_).childCount);
    for (Tree::Index child = tree_->node(node_).firstChild; child != Tree::none;
         child = tree_->node(child).nextSibling) {
        result.emplace_back(tree_->key(child), at(child));
    }
    return result;
}

std::vector<Field> Field::elements() const {
    if (kind() != Tree::Kind::array) {
        refuse("must be an array");
    }
    std::vector<Field> result;
    result.reserve(tree_->node(node_).childCount);
    for (Tree::Index child = tree_->node(node_).firstChild; child != Tree::none;
         child = tree_->node(child).nextSibling) {
        result.push_back(at(child));
    }
    return result;
}

std::string Field::text() const {
    if (kind() != Tree::Kind::text) {
        refuse("must be a string");
    }
    return std::string(tree_->text(node_));
}

std::u16string Field::utf16() const {
    return platform::toUtf16(text());
}

bool Field::boolean() const {
    if (kind() != Tree::Kind::boolean) {
        refuse("must be true or false");
    }
    return tree_->node(node_).boolean;
}

std::int32_t Field::int32() const {
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    constexpr auto highest = std::numeric_limits<std::int32_t>::max();
    const Tree::Node& node = tree_->node(node_);
    std::optional<std::int32_t> whole;
    if (node.kind == Tree::Kind::unsignedInteger) {
        if (node.value.unsignedInteger <= static_cast<std::uint64_t>(highest)) {
            whole = static_cast<std::int32_t>(node.value.unsignedInteger);
        }
    } else if (node.kind == Tree::Kind::integer) {
        if (node.value.integer >= lowest && node.value.integer <= highest) {
            whole = static_cast<std::int32_t>(node.value.integer);
        }
    } else if (node.kind == Tree::Kind::floating) {
        double value = node.value.floating;
        if (std::isfinite(value) && value == std::floor(value) && value >= lowest &&
            value <= highest) {
            whole = static_cast<std::int32_t>(value);
        }
    }
    if (!whole) {
        refuse("must be a whole number from -2147483648 to 2147483647");
    }
    return *whole;
}

double Field::number() const {
    const Tree::Node& node = tree_->node(node_);
    switch (node.kind) {
        case Tree::Kind::integer:
            return static_cast<double>(node.value.integer);
        case Tree::Kind::unsignedInteger:
            return static_cast<double>(node.value.unsignedInteger);
        case Tree::Kind::floating:
            if (std::isfinite(node.value.floating)) {
                return node.value.floating;
            }
            break;
        default:
            break;
    }
    refuse("must be a finite number");
}

}  // namespace tav::sim::scene_json
