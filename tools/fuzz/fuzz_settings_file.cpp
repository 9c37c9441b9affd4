// libFuzzer target: any bytes given as a settings file either decode into
// entries or are refused with one line naming the line at fault. A key is
// never empty, trimmed, valid UTF-8 without '=', and neither key nor value
// holds NUL or a line break; the lines of the entries increase.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/settings_file.h"
#include "app/cli/white_space.h"
#include "platform/utf.h"
#include "tools/fuzz/fuzz_checks.h"

namespace {

using tav::fuzz::fail;

bool isTrimmed(std::u16string_view text) {
    return tav::cli::trimWhiteSpace(text).size() == text.size();
}

void checkEntry(const tav::cli::SettingsEntry& entry) {
    const std::u16string key = tav::platform::toUtf16(entry.key);
    if (key.empty() || tav::platform::toUtf8(key) != entry.key) {
        fail("an empty key or one that is not valid UTF-8", entry.key);
    }
    constexpr std::u16string_view forbidden(u"\0\r\n", 3);
    if (key.find_first_of(forbidden) != std::u16string::npos ||
        key.find(u'=') != std::u16string::npos ||
        entry.value.find_first_of(forbidden) != std::u16string::npos) {
        fail("a key or value holding NUL, a line break or a key holding '='", entry.key);
    }
    if (!isTrimmed(key) || !isTrimmed(entry.value)) {
        fail("a key or value not trimmed", entry.key);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<tav::cli::SettingsEntry> entries;
    try {
        entries = tav::cli::decodeSettingsFile(bytes);
    } catch (const tav::cli::TextFileError& refusal) {
        tav::fuzz::checkRefusal(refusal);
        return 0;
    }
    int previousLine = 0;
    for (const tav::cli::SettingsEntry& entry : entries) {
        checkEntry(entry);
        if (entry.line <= previousLine) {
            fail("entries whose lines do not increase", entry.key);
        }
        previousLine = entry.line;
    }
    return 0;
}
