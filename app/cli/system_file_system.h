// The file system as the standard library reaches it. Paths come in as
// Windows writes them; on other systems (the test harness on Linux) a path
// on drive Z: stands for the path from the root, as Wine maps it, and other
// drives hold nothing.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/cli/cli_environment.h"

namespace tav::cli {

class SystemFileSystem final : public FileSystem {
  public:
    std::optional<std::string> readWhole(std::u16string_view path) override;
    void writeWhole(std::u16string_view path, std::string_view bytes) override;
    void removeIfPresent(std::u16string_view path) override;
    bool isFolder(std::u16string_view path) override;
    std::optional<std::vector<std::u16string>> fileNamesIn(std::u16string_view folder) override;
};

// A Windows path as this system names it; nothing when it cannot name it.
std::optional<std::filesystem::path> systemPathOf(std::u16string_view windowsPath);
// This system's path as Windows writes it.
std::u16string windowsPathOf(const std::filesystem::path& systemPath);

}  // namespace tav::cli
