// What the command-line tool needs of the system around it: its folders,
// the files it reads and writes, its output and a clock. The program on
// Windows gives it the console and the file system; the test harness gives
// it the same file system, captures the output and stops the clock.
//
// Every path here is written as Windows writes it ("C:\Work\a.dft"), since
// the tool passes the same text to Solid Edge.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tav::cli {

// A file that could not be written or removed, with what went wrong.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // The whole content, or nothing when it cannot be read.
    virtual std::optional<std::string> readWhole(std::u16string_view path) = 0;
    // Writes the whole content or, on failure, leaves no partial file and
    // raises FileError.
    virtual void writeWhole(std::u16string_view path, std::string_view bytes) = 0;
    // Removes a file when it is there; raises FileError when it stays.
    virtual void removeIfPresent(std::u16string_view path) = 0;
    virtual bool isFolder(std::u16string_view path) = 0;
    // The names of the files (not folders) directly in `folder`, in no
    // particular order; nothing when the folder cannot be read.
    virtual std::optional<std::vector<std::u16string>> fileNamesIn(std::u16string_view folder) = 0;
};

class CliEnvironment {
  public:
    virtual ~CliEnvironment() = default;

    // The folder the program takes as its own (settings and error messages).
    virtual std::u16string programFolder() = 0;
    virtual std::u16string workingFolder() = 0;
    virtual FileSystem& files() = 0;

    // One line on standard output.
    virtual void printLine(std::u16string_view line) = 0;
    // One line on standard error, always shown.
    virtual void printError(std::u16string_view line) = 0;
    // Progress goes to standard error only when it is a console.
    virtual bool showsProgress() = 0;
    virtual void showProgress(std::u16string_view line) = 0;

    // Seconds on a steady clock.
    virtual double clockSeconds() = 0;
};

}  // namespace tav::cli
