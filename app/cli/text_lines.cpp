#include "app/cli/text_lines.h"

#include <cstddef>
#include <string>
#include <utility>

#include "platform/utf.h"

namespace tav::cli {
namespace {

std::string lineMessage(int line, std::string_view problem) {
    std::string message = "line " + std::to_string(line) + ": ";
    message += problem;
    return message;
}

// Collects decoded characters into lines and knows the number of the line
// being read, which every error names.
class LineCollector {
  public:
    int currentLine() const { return number_; }

    void add(char32_t character) {
        if (character == U'\r') {
            finishLine();
            afterCarriageReturn_ = true;
            return;
        }
        const bool endsCrLf = afterCarriageReturn_ && character == U'\n';
        afterCarriageReturn_ = false;
        if (endsCrLf) {
            return;
        }
        if (character == U'\n') {
            finishLine();
            return;
        }
        if (character == U'\0') {
            throw TextFileError(number_, "NUL character");
        }
        platform::appendUtf16(current_, character);
    }

    std::vector<TextLine> finish() && {
        if (!current_.empty()) {
            lines_.push_back({std::move(current_), number_});
        }
        return std::move(lines_);
    }

  private:
    void finishLine() {
        lines_.push_back({std::move(current_), number_});
        current_.clear();
        ++number_;
    }

    std::vector<TextLine> lines_;
    std::u16string current_;
    int number_ = 1;
    bool afterCarriageReturn_ = false;
};

bool isSurrogate(char32_t codePoint) {
    return codePoint >= 0xD800 && codePoint <= 0xDFFF;
}

// What the first byte of a multi-byte UTF-8 sequence says about it; a length
// of 0 for a byte that starts none.
struct SequenceStart {
    std::size_t length;
    char32_t bits;      // the code point's bits the first byte holds
    char32_t smallest;  // anything below is an overlong form
};

SequenceStart sequenceStart(unsigned char lead) {
    if ((lead & 0xE0) == 0xC0) {
        return {2, lead & 0x1Fu, 0x80};
    }
    if ((lead & 0xF0) == 0xE0) {
        return {3, lead & 0x0Fu, 0x800};
    }
    if ((lead & 0xF8) == 0xF0) {
        return {4, lead & 0x07u, 0x10000};
    }
    return {0, 0, 0};
}

void decodeUtf8(std::string_view bytes, LineCollector& lines) {
    const auto invalid = [&] { return TextFileError(lines.currentLine(), "not valid UTF-8"); };
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            lines.add(lead);
            ++i;
            continue;
        }
        const SequenceStart start = sequenceStart(lead);
        if (start.length == 0) {
            throw invalid();
        }
        const std::size_t length = start.length;
        char32_t codePoint = start.bits;
        if (bytes.size() - i < length) {
            throw invalid();
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                throw invalid();
            }
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        if (codePoint < start.smallest || codePoint > 0x10FFFF || isSurrogate(codePoint)) {
            throw invalid();
        }
        lines.add(codePoint);
        i += length;
    }
}

void decodeUtf16(std::string_view bytes, bool bigEndian, LineCollector& lines) {
    const auto unitAt = [&](std::size_t index) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[2 * index]);
        const auto second = static_cast<unsigned char>(bytes[2 * index + 1]);
        return bigEndian ? (char32_t{first} << 8) | second : (char32_t{second} << 8) | first;
    };
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t unit = unitAt(i);
        if (platform::isHighSurrogate(unit) && i + 1 < units &&
            platform::isLowSurrogate(unitAt(i + 1))) {
            lines.add(platform::joinSurrogates(unit, unitAt(i + 1)));
            ++i;
        } else if (isSurrogate(unit)) {
            throw TextFileError(lines.currentLine(), "unpaired UTF-16 surrogate");
        } else {
            lines.add(unit);
        }
    }
    if (bytes.size() % 2 != 0) {
        throw TextFileError(lines.currentLine(), "UTF-16 text of an odd number of bytes");
    }
}

}  // namespace

TextFileError::TextFileError(int line, std::string_view problem)
    : std::runtime_error(lineMessage(line, problem)), line_(line) {}

std::vector<TextLine> decodeTextLines(std::string_view bytes) {
    LineCollector lines;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        decodeUtf8(bytes.substr(3), lines);
    } else if (bytes.starts_with("\xFF\xFE")) {
        decodeUtf16(bytes.substr(2), false, lines);
    } else if (bytes.starts_with("\xFE\xFF")) {
        decodeUtf16(bytes.substr(2), true, lines);
    } else {
        decodeUtf8(bytes, lines);
    }
    return std::move(lines).finish();
}

}  // namespace tav::cli
