// The objects of the simulated Solid Edge, one factory per kind. Each returns
// the node a handle carries; nodes point into the model's scene, which lives
// as long as any handle does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/sim/scene.h"
#include "host/sim/sim_node.h"

namespace tav::sim::objects {

// The application, its documents collection and its documents
// (sim_objects.cpp).
NodePtr application();
NodePtr documents();
NodePtr document(std::size_t document, DocumentKind kind);

// A draft's sections, sheets and the drawing views of a sheet (sim_sheets.cpp).
NodePtr sections(std::size_t draft);
NodePtr section(std::size_t draft, SectionKind kind);
// The sheets of one section, or every sheet of the draft.
NodePtr sheets(std::size_t draft, std::optional<SectionKind> section);
NodePtr sheet(std::size_t draft, std::size_t sheet);
NodePtr drawingViews(std::size_t draft, std::size_t sheet);

// The select set and what it holds (sim_select_set.cpp).
NodePtr selectSet(std::size_t draft);
NodePtr selectedItem(std::size_t item);
NodePtr selected(const SelectionEntry& entry);

// The line styles of a draft (sim_line_styles.cpp).
NodePtr lineStyles(std::size_t draft);
// A style by its serial number (LineStyleIndex).
NodePtr lineStyle(std::size_t draft, std::uint32_t serial);

// Drawing views and their model members (sim_drawing_view.cpp).
NodePtr drawingView(std::size_t view);
NodePtr modelReference(std::size_t view);
NodePtr viewModelMembers(std::size_t view);
NodePtr memberChildren(std::size_t view, ModelMember& owner);
NodePtr modelMember(std::size_t view, ModelMember& member);

// An assembly's occurrences and what a part occurrence shows of its part
// (sim_assembly.cpp).
NodePtr occurrences(std::size_t assembly);
NodePtr occurrence(const Occurrence& occurrence);
NodePtr occurrenceStyle(const Occurrence& occurrence);
NodePtr partDocument(const Occurrence& occurrence);
NodePtr models(const Occurrence& occurrence);
NodePtr body(const Occurrence& occurrence);
NodePtr faceStyle(const Occurrence& occurrence);

// Sub-occurrences at any level (sim_sub_occurrences.cpp).
NodePtr subOccurrences(const OccurrenceCore& owner);
NodePtr subOccurrence(const SubOccurrence& subOccurrence);

}  // namespace tav::sim::objects
