#include "tools/sehost-sim/server_scene.h"

#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include <nlohmann/json.hpp>

#include "host/sim/scene_error.h"
#include "host/sim/scene_loader.h"

namespace tav::sehost {
namespace {

using nlohmann::ordered_json;

class KeyReader {
  public:
    explicit KeyReader(std::string_view file) : file_(file) {}

    [[noreturn]] void refuse(const std::string& path, const std::string& what) const {
        throw sim::SceneError(std::string(file_) + ": " + path + ": " + what);
    }

    std::int32_t positiveNumber(const ordered_json& value, const std::string& path,
                                std::int64_t smallest) const {
        if (!value.is_number_integer()) {
            refuse(path, "must be an integer");
        }
        const std::int64_t number = value.get<std::int64_t>();
        if (number < smallest || number > std::numeric_limits<std::int32_t>::max()) {
            refuse(path, "must be at least " + std::to_string(smallest));
        }
        return static_cast<std::int32_t>(number);
    }

    BusyCall busy(const ordered_json& value) const {
        if (!value.is_object()) {
            refuse("busy", "must be an object {\"call\": N, \"rejections\": K}");
        }
        for (const auto& [key, ignored] : value.items()) {
            if (key != "call" && key != "rejections") {
                refuse("busy." + key, "unknown key (allowed: call, rejections)");
            }
        }
        if (!value.contains("call") || !value.contains("rejections")) {
            refuse("busy", "needs both \"call\" and \"rejections\"");
        }
        return {positiveNumber(value["call"], "busy.call", 1),
                positiveNumber(value["rejections"], "busy.rejections", 0)};
    }

  private:
    std::string_view file_;
};

}  // namespace

ServerScene parseServerScene(std::string_view text, std::string_view fileNameForMessages) {
    ordered_json json = ordered_json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        // The scene loader names what is wrong with the file as it is.
        return {sim::parseScene(text, fileNameForMessages), std::nullopt, std::nullopt};
    }
    const KeyReader reader(fileNameForMessages);
    ServerScene server;
    if (auto busy = json.find("busy"); busy != json.end()) {
        if (!busy->is_null()) {
            server.busy = reader.busy(*busy);
        }
        json.erase(busy);
    }
    if (auto crash = json.find("crashAtCall"); crash != json.end()) {
        if (!crash->is_null()) {
            server.crashAtCall = reader.positiveNumber(*crash, "crashAtCall", 1);
        }
        json.erase(crash);
    }
    server.scene = sim::parseScene(json.dump(), fileNameForMessages);
    return server;
}

ServerScene loadServerScene(const std::filesystem::path& file) {
    std::u8string utf8Name = file.u8string();
    const std::string name(utf8Name.begin(), utf8Name.end());
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        throw sim::SceneError(name + ": cannot be read");
    }
    const std::string text{std::istreambuf_iterator<char>(stream),
                           std::istreambuf_iterator<char>()};
    return parseServerScene(text, name);
}

}  // namespace tav::sehost
