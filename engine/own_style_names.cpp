#include "engine/own_style_names.h"

#include "engine/edge_kinds.h"

namespace tav::engine {

std::optional<OwnStyleName> parseOwnStyleName(std::u16string_view name) {
    constexpr std::int64_t largestColor = 16777215;
    for (std::size_t kind = 0; kind < edgeKinds.size(); ++kind) {
        const std::u16string_view suffix = edgeKinds[kind].suffix;
        if (name.size() <= suffix.size() || !name.ends_with(suffix)) {
            continue;
        }
        const std::u16string_view digits = name.substr(0, name.size() - suffix.size());
        std::int64_t value = 0;
        for (const char16_t c : digits) {
            if (c < u'0' || c > u'9') {
                return std::nullopt;
            }
            value = value * 10 + (c - u'0');
            if (value > largestColor) {
                return std::nullopt;  // also keeps a long run of digits from overflowing
            }
        }
        return OwnStyleName{static_cast<ColorValue>(value), kind};
    }
    return std::nullopt;
}

}  // namespace tav::engine
