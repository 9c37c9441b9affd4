#include "tools/bench/measuring_process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace tav::bench {
namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }
    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0) {
            close(fd_);
            fd_ = -1;
        }
    }

  private:
    int fd_;
};

}  // namespace

std::string runThisProgram(const std::vector<std::string>& args) {
    std::array<int, 2> fds{};
    if (pipe(fds.data()) != 0) {
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    Descriptor reading(fds[0]);
    Descriptor writing(fds[1]);

    std::string self = "/proc/self/exe";
    std::vector<std::string> words{self};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writing.get(), STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, reading.get());
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error(std::string("cannot start a measuring process: ") +
                                 std::strerror(spawned));
    }
    writing.reset();

    std::string output;
    std::array<char, 4096> buffer{};
    ssize_t got = 0;
    while ((got = read(reading.get(), buffer.data(), buffer.size())) != 0) {
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        output.append(buffer.data(), static_cast<std::size_t>(got));
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the measuring process failed (status " + std::to_string(status) +
                                 ")");
    }
    return output;
}

}  // namespace tav::bench
