#include "app/cli/list_file.h"

#include "app/cli/white_space.h"

namespace tav::cli {

std::vector<std::u16string> decodeListFile(std::string_view bytes) {
    std::vector<std::u16string> paths;
    for (const TextLine& line : decodeTextLines(bytes)) {
        const std::u16string_view path = trimWhiteSpace(line.text);
        if (!path.empty() && path.front() != u'#') {
            paths.emplace_back(path);
        }
    }
    return paths;
}

}  // namespace tav::cli
