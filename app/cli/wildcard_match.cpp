// Matching file names against wildcards as FindFirstFileW does: it turns the
// pattern's '*' and '?' into the MS-DOS wildcards of the file system
// (DOS_STAR, DOS_QM, DOS_DOT) and matches the long name with those.
#include <algorithm>
#include <cstddef>
#include <vector>

#include "app/cli/windows_path.h"
#include "engine/text.h"

namespace tav::cli {
namespace {

enum class Token {
    literal,
    anyRun,        // '*': any characters
    runToLastDot,  // '*' before '.': any characters but the name's last dot
    oneCharacter,  // '?': one character but a dot, or nothing before a dot or the end
    dotOrNameEnd,  // '.' before '*' or '?' or ending the pattern
};

struct PatternItem {
    Token token;
    char16_t character;  // for a literal
};

std::vector<PatternItem> translate(std::u16string_view pattern) {
    std::vector<PatternItem> items;
    items.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t unit = pattern[i];
        const bool last = i + 1 == pattern.size();
        const char16_t next = last ? u'\0' : pattern[i + 1];
        Token token = Token::literal;
        if (unit == u'*') {
            token = next == u'.' ? Token::runToLastDot : Token::anyRun;
        } else if (unit == u'?') {
            token = Token::oneCharacter;
        } else if (unit == u'.' && (last || next == u'*' || next == u'?')) {
            token = Token::dotOrNameEnd;
        }
        items.push_back({token, unit});
    }
    return items;
}

}  // namespace

bool matchesWildcard(std::u16string_view name, std::u16string_view pattern) {
    const std::u16string folded = engine::lowerCase(name);
    const std::vector<PatternItem> items = translate(engine::lowerCase(pattern));
    const std::size_t lastDot = folded.rfind(u'.');

    // The set of pattern positions reached after each character of the name;
    // position items.size() is a full match.
    std::vector<char> reached(items.size() + 1, 0);
    std::vector<char> following(items.size() + 1, 0);
    reached[0] = 1;

    // Positions reachable without consuming a character at name position
    // `at`. Every such step goes forward, so one pass in order suffices.
    const auto addSkips = [&](std::vector<char>& positions, std::size_t at) {
        const bool atEnd = at == folded.size();
        const bool atDot = !atEnd && folded[at] == u'.';
        for (std::size_t p = 0; p < items.size(); ++p) {
            if (!positions[p]) {
                continue;
            }
            switch (items[p].token) {
                case Token::anyRun:
                case Token::runToLastDot:
                    positions[p + 1] = 1;
                    break;
                case Token::oneCharacter:
                    if (atEnd || atDot) {
                        std::size_t after = p;
                        while (after < items.size() && items[after].token == Token::oneCharacter) {
                            ++after;
                        }
                        positions[after] = 1;
                    }
                    break;
                case Token::dotOrNameEnd:
                    if (atEnd) {
                        positions[p + 1] = 1;
                    }
                    break;
                case Token::literal:
                    break;
            }
        }
    };

    for (std::size_t at = 0; at < folded.size(); ++at) {
        addSkips(reached, at);
        const char16_t unit = folded[at];
        std::fill(following.begin(), following.end(), 0);
        bool any = false;
        for (std::size_t p = 0; p < items.size(); ++p) {
            if (!reached[p]) {
                continue;
            }
            const PatternItem& item = items[p];
            switch (item.token) {
                case Token::anyRun:
                    following[p] = 1;
                    break;
                case Token::runToLastDot:
                    if (at != lastDot) {
                        following[p] = 1;
                    }
                    break;
                case Token::oneCharacter:
                    if (unit != u'.') {
                        following[p + 1] = 1;
                    }
                    break;
                case Token::dotOrNameEnd:
                    if (unit == u'.') {
                        following[p + 1] = 1;
                    }
                    break;
                case Token::literal:
                    if (unit == item.character) {
                        following[p + 1] = 1;
                    }
                    break;
            }
            any = any || following[p] || following[p + 1];
        }
        if (!any) {
            return false;
        }
        reached.swap(following);
    }
    addSkips(reached, folded.size());
    return reached[items.size()] != 0;
}

}  // namespace tav::cli
