// libFuzzer target: any bytes given as a scene file are either loaded or
// refused with one line naming the file; nothing else may come out of the
// loader (no other exception, crash, hang or unbounded memory, which the
// fuzzer's own limits catch).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "host/sim/scene_loader.h"

namespace {

constexpr std::string_view fileName = "fuzz.scene.json";

[[noreturn]] void fail(const char* what, std::string_view line) {
    std::fprintf(stderr, "%s: '%.*s'\n", what, static_cast<int>(line.size()), line.data());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        static_cast<void>(tav::sim::parseScene(text, fileName));
    } catch (const tav::sim::SceneError& refusal) {
        const std::string_view line = refusal.what();
        if (!line.starts_with(std::string(fileName) + ": ")) {
            fail("a refusal that does not name the file", line);
        }
        if (line.find('\n') != std::string_view::npos) {
            fail("a refusal of more than one line", line);
        }
    }
    return 0;
}
