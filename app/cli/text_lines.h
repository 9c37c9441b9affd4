// The lines of a small text file the user writes (a list of drawings, the
// program's settings): its bytes decoded strictly, so that a file saved in an
// unexpected encoding is refused with the line at fault instead of yielding
// paths that name no file.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tav::cli {

// Bytes that are no text, with the line they are on: what() reads
// "line 3: not valid UTF-8".
class TextFileError : public std::runtime_error {
  public:
    TextFileError(int line, std::string_view problem);
    int line() const { return line_; }

  private:
    int line_;
};

struct TextLine {
    std::u16string text;  // without its line end; never holds CR, LF or NUL
    int number;           // counted from 1
};

// Decodes UTF-8 (with or without a byte order mark) or UTF-16 LE or BE (with
// one) and splits the text at CRLF, LF and CR. A text ending in a line end
// has no empty line after it. Throws TextFileError for invalid UTF-8, an
// unpaired surrogate, UTF-16 of an odd number of bytes or a NUL character.
std::vector<TextLine> decodeTextLines(std::string_view bytes);

}  // namespace tav::cli
