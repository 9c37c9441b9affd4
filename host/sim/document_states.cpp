#include "host/sim/document_states.h"

#include <algorithm>

#include "host/ascii_case.h"

namespace tav::sim {
namespace {

void collectStyles(const ModelMember& member, std::vector<EdgeStyles>& out) {
    for (const ModelMember& child : member.children) {
        out.push_back(child.styles);
        collectStyles(child, out);
    }
}

// Puts back what collectStyles took, in the same order; the members stay
// where they are, so that the objects the tool holds for them stay valid.
void restoreStyles(ModelMember& member, const std::vector<EdgeStyles>& styles, std::size_t& next) {
    for (ModelMember& child : member.children) {
        child.styles = styles.at(next++);
        restoreStyles(child, styles, next);
    }
}

}  // namespace

DocumentStates::DocumentStates(const Scene& scene,
                               std::vector<std::optional<std::size_t>> viewDrafts)
    : viewDrafts_(std::move(viewDrafts)),
      saved_(scene.documents.size()),
      saves_(scene.documents.size(), 0),
      unsaved_(scene.documents.size(), false),
      closures_(scene.documents.size(), 0) {
    for (std::size_t d = 0; d < scene.documents.size(); ++d) {
        if (scene.documents[d].open) {
            open_.push_back(d);
        }
    }
}

void DocumentStates::willChange(const Scene& scene, std::size_t document) {
    if (!saved_.at(document)) {
        saved_[document] = snapshot(scene, document);
    }
}

bool DocumentStates::isOpen(std::size_t document) const {
    return std::find(open_.begin(), open_.end(), document) != open_.end();
}

std::optional<std::size_t> DocumentStates::withPath(const Scene& scene,
                                                    std::u16string_view path) const {
    for (std::size_t d = 0; d < scene.documents.size(); ++d) {
        const std::optional<std::u16string>& own = scene.documents[d].path;
        if (own && host::equalsIgnoringAsciiCase(*own, path)) {
            return d;
        }
    }
    return std::nullopt;
}

void DocumentStates::open(Scene& scene, std::size_t document) {
    if (!isOpen(document)) {
        open_.push_back(document);
        unsaved_.at(document) = false;
    }
    scene.documents[document].open = true;
    scene.activeDocument = document;
}

void DocumentStates::save(const Scene& scene, std::size_t document) {
    saved_.at(document) = snapshot(scene, document);
    ++saves_.at(document);
    unsaved_.at(document) = false;
}

void DocumentStates::close(Scene& scene, std::vector<LineStyleIndex>& lineStyles,
                           std::size_t document) {
    if (const std::optional<Saved>& saved = saved_.at(document)) {
        restore(scene, document, *saved);
        lineStyles.at(document).reindex();
    }
    open_.erase(std::remove(open_.begin(), open_.end(), document), open_.end());
    scene.documents[document].open = false;
    unsaved_.at(document) = false;
    ++closures_.at(document);
    if (scene.activeDocument == document) {
        scene.activeDocument =
            open_.empty() ? std::nullopt : std::optional<std::size_t>(open_.back());
    }
}

DocumentStates::Saved DocumentStates::snapshot(const Scene& scene, std::size_t document) const {
    const Document& doc = scene.documents[document];
    Saved saved{doc.lineStyles, doc.selection, doc.activeSheet, {}};
    for (std::size_t view = 0; view < scene.drawingViews.size(); ++view) {
        if (viewDrafts_[view] == document) {
            collectStyles(scene.drawingViews[view].root, saved.memberStyles);
        }
    }
    return saved;
}

void DocumentStates::restore(Scene& scene, std::size_t document, const Saved& saved) const {
    Document& doc = scene.documents[document];
    doc.lineStyles = saved.lineStyles;
    doc.selection = saved.selection;
    doc.activeSheet = saved.activeSheet;
    std::size_t next = 0;
    for (std::size_t view = 0; view < scene.drawingViews.size(); ++view) {
        if (viewDrafts_[view] == document) {
            restoreStyles(scene.drawingViews[view].root, saved.memberStyles, next);
        }
    }
}

}  // namespace tav::sim
