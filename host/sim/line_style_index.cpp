#include "host/sim/line_style_index.h"

#include <functional>

namespace tav::sim {
namespace {

std::size_t nameHash(std::u16string_view name) {
    return std::hash<std::u16string_view>{}(name);
}

}  // namespace

LineStyleIndex::LineStyleIndex(std::vector<LineStyle>& styles) : styles_(&styles) {
    positions_.reserve(styles.size());
    for (std::size_t position = 0; position < styles.size(); ++position) {
        add(position);
    }
}

std::optional<std::size_t> LineStyleIndex::find(std::u16string_view name) const {
    std::optional<std::size_t> first;
    auto [begin, end] = positions_.equal_range(nameHash(name));
    for (auto it = begin; it != end; ++it) {
        const std::size_t position = it->second;
        if ((*styles_)[position].name == name && (!first || position < *first)) {
            first = position;
        }
    }
    return first;
}

std::size_t LineStyleIndex::append(LineStyle style) {
    styles_->push_back(std::move(style));
    const std::size_t position = styles_->size() - 1;
    add(position);
    return position;
}

void LineStyleIndex::add(std::size_t position) {
    positions_.emplace(nameHash((*styles_)[position].name), position);
}

}  // namespace tav::sim
