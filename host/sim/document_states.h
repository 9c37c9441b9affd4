// Documents as files: which are open and in what order, what each last saved
// holds, how often each was saved, whether it changed since, and how often it
// was closed. A document that closes goes back to what it last saved (what
// the scene gave, when never saved); objects handed out before a Close stay
// dead even when the document opens again, which the close count tells.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "host/sim/line_style_index.h"
#include "host/sim/scene.h"

namespace tav::sim {

class DocumentStates {
  public:
    // `viewDrafts`: the draft each drawing view's members belong to.
    DocumentStates(const Scene& scene, std::vector<std::optional<std::size_t>> viewDrafts);

    // The open documents, as the documents collection lists them: the
    // scene's open ones in scene order, then in the order they were opened.
    const std::vector<std::size_t>& openDocuments() const { return open_; }
    bool isOpen(std::size_t document) const;
    // The open document whose path is `path`, letter case ignored as Windows
    // ignores it in file names (ASCII letters only).
    std::optional<std::size_t> withPath(const Scene& scene, std::u16string_view path) const;

    // Opens `document` (open already: nothing) and makes it active.
    void open(Scene& scene, std::size_t document);
    // Its current state becomes its saved state.
    void save(const Scene& scene, std::size_t document);
    // Back to its saved state and out of the open documents; the active
    // document becomes the most recently opened one still open.
    void close(Scene& scene, std::vector<LineStyleIndex>& lineStyles, std::size_t document);
    // Called before anything of the document's saved state changes: keeps
    // what it holds now, unless a saved state is kept already. A document
    // nothing changed needs no copy, so a large drawing costs no more.
    void willChange(const Scene& scene, std::size_t document);
    // A change that asks to be saved (line styles, edge styles).
    void markChanged(std::size_t document) { unsaved_.at(document) = true; }

    std::int32_t saves(std::size_t document) const { return saves_.at(document); }
    bool unsaved(std::size_t document) const { return unsaved_.at(document); }
    std::uint32_t closures(std::size_t document) const { return closures_.at(document); }

  private:
    // What a document keeps when it is saved.
    struct Saved {
        std::vector<LineStyle> lineStyles;
        std::vector<SelectionEntry> selection;
        std::size_t activeSheet = 0;
        // The edge styles of every member of its views, depth first.
        std::vector<EdgeStyles> memberStyles;
    };

    Saved snapshot(const Scene& scene, std::size_t document) const;
    void restore(Scene& scene, std::size_t document, const Saved& saved) const;

    std::vector<std::optional<std::size_t>> viewDrafts_;
    std::vector<std::size_t> open_;
    std::vector<std::optional<Saved>> saved_;  // none: the document is as the scene gave it
    std::vector<std::int32_t> saves_;
    std::vector<bool> unsaved_;
    std::vector<std::uint32_t> closures_;
};

}  // namespace tav::sim
