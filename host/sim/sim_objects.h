// The objects of the simulated Solid Edge, one factory per kind. Each returns
// the node a handle carries; nodes point into the model's scene, which lives
// as long as any handle does.
#pragma once

#include <cstddef>
#include <vector>

#include "host/sim/scene.h"
#include "host/sim/sim_node.h"

namespace tav::sim::objects {

// The application and its documents (sim_objects.cpp).
NodePtr application();
NodePtr document(std::size_t document, DocumentKind kind);
NodePtr sheet(std::size_t draft);
NodePtr drawingViews(std::size_t draft);

// The select set and what it holds (sim_select_set.cpp).
NodePtr selectSet(std::size_t draft);
NodePtr selectedItem(std::size_t item);
NodePtr selected(const SelectionEntry& entry);

// The line styles of a draft (sim_line_styles.cpp).
NodePtr lineStyles(std::size_t draft);
NodePtr lineStyle(std::size_t draft, std::size_t style);

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
