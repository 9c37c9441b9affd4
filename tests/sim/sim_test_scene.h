// A small scene the simulated-host tests start from, and a host built on it
// that records its events.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/sim/scene_loader.h"
#include "host/sim/sim_host.h"

namespace tav::sim::test_support {

using Json = nlohmann::ordered_json;

inline Json baseScene() {
    return Json::parse(R"({
      "format": "tavrelmondix-scene/1",
      "host": {"running": true},
      "activeDocument": "D1",
      "documents": {
        "A1": {"kind": "assembly", "occurrences": [
          {"file": "C:\\W\\Bolt.par", "style": {"r": 1.0, "g": 0.5, "b": 0.25}},
          {"file": "C:\\W\\Plate.par", "faceStyle": {"r": 0, "g": 0, "b": 1}},
          {"file": "C:\\W\\Frame.asm", "children": [
            {"file": "C:\\W\\Hinge.par", "color": [0.2, 0.4, 0.6]},
            {"file": "C:\\W\\Pin.par"}]}]},
        "D1": {"kind": "draft", "drawingViews": ["V1", "V2"],
               "selection": [{"ref": "V2"}, {"id": "dim7", "type": 1234, "drawingViewType": null}],
               "lineStyles": [{"name": "Normal", "color": 0}, {"name": "Hidden", "color": 7}]},
        "P1": {"kind": "part"}
      },
      "drawingViews": [
        {"id": "V1", "drawingViewType": 3, "model": {"file": "C:\\W\\Top.asm", "document": "A1"},
         "root": {"children": [
           {"type": 1, "name": "Bolt.par"},
           {"type": 0, "name": "Frame.asm", "children": [
             {"type": 6, "name": "Hinge.par", "id": "hinge"}]}]}},
        {"id": "V2", "model": null, "root": {"children": []}}
      ]
    })");
}

// A simulated host on `scene`, with the application looked up and every
// event kept.
struct RecordingHost {
    explicit RecordingHost(const Json& scene)
        : host(std::make_unique<SimHost>(
              parseScene(scene.dump(), "test.json"),
              [this](const result::HostEvent& e) { events.push_back(e); })),
          app(host->connector().getRunning(u"SolidEdge.Application")) {}

    std::vector<result::HostEvent> events;
    std::unique_ptr<SimHost> host;
    host::ObjectRef app;
};

}  // namespace tav::sim::test_support
