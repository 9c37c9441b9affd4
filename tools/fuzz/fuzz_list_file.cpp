// libFuzzer target: any bytes given as a list file either decode into paths
// or are refused with one line naming the line at fault. A path is never
// empty, never blank at its ends, no comment, holds no NUL and no line
// break, and the paths written back as UTF-8 or UTF-16 decode to themselves.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/list_file.h"
#include "app/cli/white_space.h"
#include "platform/utf.h"
#include "tools/fuzz/fuzz_checks.h"

namespace {

using tav::fuzz::fail;

void checkPath(std::u16string_view path) {
    if (path.empty()) {
        fail("an empty path", "");
    }
    if (path.find_first_of(std::u16string_view(u"\0\r\n", 3)) != std::u16string_view::npos) {
        fail("a path holding NUL or a line break", tav::platform::toUtf8(path));
    }
    if (tav::cli::trimWhiteSpace(path).size() != path.size() || path.front() == u'#') {
        fail("a path not trimmed, or a comment", tav::platform::toUtf8(path));
    }
}

std::string utf16LittleEndian(const std::vector<std::u16string>& paths) {
    std::string bytes = "\xFF\xFE";
    for (const std::u16string& path : paths) {
        for (const char16_t unit : path + u"\r\n") {
            bytes += static_cast<char>(unit & 0xFF);
            bytes += static_cast<char>(unit >> 8);
        }
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::u16string> paths;
    try {
        paths = tav::cli::decodeListFile(bytes);
    } catch (const tav::cli::TextFileError& refusal) {
        tav::fuzz::checkRefusal(refusal);
        return 0;
    }
    std::string utf8;
    for (const std::u16string& path : paths) {
        checkPath(path);
        utf8 += tav::platform::toUtf8(path) + "\n";
    }
    if (tav::cli::decodeListFile(utf8) != paths ||
        tav::cli::decodeListFile(utf16LittleEndian(paths)) != paths) {
        fail("paths that do not decode to themselves once written again", utf8);
    }
    return 0;
}
