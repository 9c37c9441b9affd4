#include "app/cli/csv.h"

#include <cstddef>
#include <utility>

namespace tav::cli {
namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

void appendField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

std::string rowMessage(int row, std::string_view problem) {
    std::string message = "CSV row " + std::to_string(row) + ": ";
    message += problem;
    return message;
}

// Reads one row at a time; `at` stands at the start of a row.
class CsvReader {
  public:
    explicit CsvReader(std::string_view text) : text_(text) {}

    CsvRows rows() {
        CsvRows rows;
        while (at_ < text_.size()) {
            rows.push_back(row(static_cast<int>(rows.size()) + 1));
        }
        return rows;
    }

  private:
    std::vector<std::string> row(int number) {
        std::vector<std::string> fields;
        if (endOfRow()) {
            return fields;  // an empty line is a row of no fields
        }
        while (true) {
            fields.push_back(peek() == '"' ? quotedField(number) : plainField(number));
            if (at_ < text_.size() && text_[at_] == ',') {
                ++at_;
                continue;
            }
            if (!endOfRow()) {
                throw CsvError(number, "text after a closing quote");
            }
            return fields;
        }
    }

    char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }

    // Steps over a line end, or accepts the end of the text.
    bool endOfRow() {
        if (at_ == text_.size()) {
            return true;
        }
        if (text_[at_] == '\r') {
            ++at_;
            if (peek() == '\n') {
                ++at_;
            }
            return true;
        }
        if (text_[at_] == '\n') {
            ++at_;
            return true;
        }
        return false;
    }

    std::string plainField(int number) {
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] != ',' && text_[at_] != '\r' &&
               text_[at_] != '\n') {
            if (text_[at_] == '"') {
                throw CsvError(number, "a quote inside an unquoted field");
            }
            ++at_;
        }
        return std::string(text_.substr(start, at_ - start));
    }

    std::string quotedField(int number) {
        ++at_;  // the opening quote
        std::string field;
        while (true) {
            const std::size_t quote = text_.find('"', at_);
            if (quote == std::string_view::npos) {
                throw CsvError(number, "a quoted field that is not closed");
            }
            field += text_.substr(at_, quote - at_);
            at_ = quote + 1;
            if (peek() != '"') {
                return field;
            }
            field += '"';
            ++at_;
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

CsvError::CsvError(int row, std::string_view problem)
    : std::runtime_error(rowMessage(row, problem)), row_(row) {}

std::string csvFileText(const CsvRows& rows) {
    std::string out(byteOrderMark);
    for (const std::vector<std::string>& row : rows) {
        if (row.size() == 1 && row.front().empty()) {
            out += "\"\"";
        }
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0) {
                out += ',';
            }
            appendField(out, row[i]);
        }
        out += "\r\n";
    }
    return out;
}

CsvRows readCsvFileText(std::string_view bytes) {
    if (bytes.starts_with(byteOrderMark)) {
        bytes.remove_prefix(byteOrderMark.size());
    }
    return CsvReader(bytes).rows();
}

}  // namespace tav::cli
