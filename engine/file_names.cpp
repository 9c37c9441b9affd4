#include "engine/file_names.h"

#include <limits>

#include "host/error.h"

namespace tav::engine {

std::int16_t findLast(std::u16string_view text, char16_t ch) {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
        throw host::overflowError();
    }
    for (auto position = static_cast<std::int16_t>(text.size()); position >= 1; --position) {
        if (text[static_cast<std::size_t>(position - 1)] == ch) {
            return position;
        }
    }
    return 0;
}

std::u16string getFileName(std::u16string_view path) {
    std::int16_t lastBackslash = findLast(path, u'\\');
    return std::u16string(path.substr(static_cast<std::size_t>(lastBackslash)));
}

}  // namespace tav::engine
