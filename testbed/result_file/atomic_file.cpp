#include "testbed/result_file/atomic_file.h"

#include <cerrno>
#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace tav::result {
namespace fs = std::filesystem;
namespace {

// The path as UTF-8 for a message.
std::string shown(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The reason of the last failed stream operation, as far as the C library
// tells it.
std::string lastSystemError(int errorNumber) {
    return errorNumber != 0 ? std::generic_category().message(errorNumber)
                            : std::string("input/output error");
}

// A name no other writer uses at the same time: the target's name behind a
// dot (hidden on Unix) with a random suffix.
fs::path temporaryBeside(const fs::path& target) {
    std::random_device entropy;
    std::uniform_int_distribution<std::uint64_t> pick;
    const std::uint64_t suffix = pick(entropy);
    fs::path name = ".";
    name += target.filename();
    name += ".tmp-" + std::to_string(suffix);
    return target.parent_path() / name;
}

// Removes the temporary unless it has become the target.
class TemporaryFile {
  public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!kept_) {
            std::error_code ignored;  // nothing better to do while failing
            fs::remove(path_, ignored);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const fs::path& path() const { return path_; }
    void keep() { kept_ = true; }

  private:
    fs::path path_;
    bool kept_ = false;
};

}  // namespace

void writeAtomically(const fs::path& target, const std::function<void(std::ostream&)>& write) {
    if (!target.has_filename()) {
        throw FileWriteError("cannot write " + shown(target) + ": not a file name");
    }
    TemporaryFile temporary(temporaryBeside(target));
    {
        errno = 0;
        std::ofstream out(temporary.path(), std::ios::binary | std::ios::trunc);
        if (!out) {
            throw FileWriteError("cannot write " + shown(target) + ": " + lastSystemError(errno));
        }
        errno = 0;
        write(out);
        if (out.good()) {
            out.flush();
        }
        if (out.good()) {
            out.close();
        }
        if (out.fail()) {  // the first failure's errno is still set
            throw FileWriteError("cannot write " + shown(target) + ": " + lastSystemError(errno));
        }
    }
    std::error_code error;
    fs::rename(temporary.path(), target, error);
    if (error) {
        throw FileWriteError("cannot write " + shown(target) + ": " + error.message());
    }
    temporary.keep();
}

void removeIfPresent(const fs::path& target) {
    std::error_code error;
    if (fs::is_directory(fs::symlink_status(target, error))) {
        return;  // a folder is nothing this program wrote
    }
    fs::remove(target, error);
    if (error) {
        throw FileWriteError("cannot remove the earlier " + shown(target) + ": " + error.message());
    }
}

}  // namespace tav::result
