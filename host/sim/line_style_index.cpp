#include "host/sim/line_style_index.h"

#include <algorithm>
#include <functional>

namespace tav::sim {
namespace {

std::size_t nameHash(std::u16string_view name) {
    return std::hash<std::u16string_view>{}(name);
}

}  // namespace

LineStyleIndex::LineStyleIndex(std::vector<LineStyle>& styles) : styles_(&styles) {
    for (const LineStyle& style : styles) {
        nextSerial_ = std::max(nextSerial_, style.serial + 1);
    }
    for (LineStyle& style : styles) {
        if (style.serial == 0) {
            style.serial = nextSerial_++;
        }
    }
    reindex();
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

std::optional<std::size_t> LineStyleIndex::findSerial(std::uint32_t serial) const {
    auto found = serials_.find(serial);
    return found == serials_.end() ? std::nullopt : std::optional(found->second);
}

std::size_t LineStyleIndex::append(LineStyle style) {
    style.serial = nextSerial_++;
    styles_->push_back(std::move(style));
    const std::size_t position = styles_->size() - 1;
    add(position);
    return position;
}

void LineStyleIndex::remove(std::size_t position) {
    styles_->erase(styles_->begin() + static_cast<std::ptrdiff_t>(position));
    // Every later style moves up one: rare enough to index anew.
    reindex();
}

void LineStyleIndex::reindex() {
    positions_.clear();
    serials_.clear();
    positions_.reserve(styles_->size());
    serials_.reserve(styles_->size());
    for (std::size_t position = 0; position < styles_->size(); ++position) {
        add(position);
    }
}

void LineStyleIndex::add(std::size_t position) {
    const LineStyle& style = (*styles_)[position];
    positions_.emplace(nameHash(style.name), position);
    serials_.emplace(style.serial, position);
}

}  // namespace tav::sim
