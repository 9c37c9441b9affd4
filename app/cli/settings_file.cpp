#include "app/cli/settings_file.h"

#include "app/cli/white_space.h"
#include "platform/utf.h"

namespace tav::cli {

std::vector<SettingsEntry> decodeSettingsFile(std::string_view bytes) {
    std::vector<SettingsEntry> entries;
    for (const TextLine& line : decodeTextLines(bytes)) {
        const std::u16string_view text = trimWhiteSpace(line.text);
        if (text.empty() || text.front() == u'#' || text.front() == u'\'') {
            continue;
        }
        const std::size_t equals = text.find(u'=');
        if (equals == std::u16string_view::npos) {
            throw TextFileError(line.number, "no '=' between a key and its value");
        }
        const std::u16string_view key = trimWhiteSpace(text.substr(0, equals));
        if (key.empty()) {
            throw TextFileError(line.number, "no key before '='");
        }
        entries.push_back({platform::toUtf8(key),
                           std::u16string(trimWhiteSpace(text.substr(equals + 1))), line.number});
    }
    return entries;
}

}  // namespace tav::cli
