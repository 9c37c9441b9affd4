// The program's report as CSV (RFC 4180, comma separated), which
// spreadsheets open directly, and the reader the tests and the harness read
// it back with.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tav::cli {

using CsvRows = std::vector<std::vector<std::string>>;

// Text the CSV reader cannot take apart, with the row it is in (from 1).
class CsvError : public std::runtime_error {
  public:
    CsvError(int row, std::string_view problem);
    int row() const { return row_; }

  private:
    int row_;
};

// The bytes of a CSV file: a UTF-8 byte order mark (Excel reads the file as
// UTF-8 only with one), then each row ended by CRLF. A field is quoted, its
// quotes doubled, when it holds a comma, a quote, CR or LF, and a row of one
// empty field is written as "" so that it differs from a row of none.
// Fields are UTF-8 and written as they are.
std::string csvFileText(const CsvRows& rows);

// The rows of CSV bytes, the byte order mark optional: exactly the rows
// csvFileText wrote. Rows may end in CRLF, LF or CR, the last one in nothing.
// Throws CsvError for a quote that is not closed, text after a closing quote
// or a quote inside an unquoted field.
CsvRows readCsvFileText(std::string_view bytes);

}  // namespace tav::cli
