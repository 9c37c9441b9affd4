// The late-bound names of the members the simulated host answers beyond the
// object table's dispatch ids: documents on disk, sections and sheets, alerts,
// and the names of views and line styles, as the tool calls them
// (host/automation_ids.h), grouped by the objects that answer them. Letter
// case is ignored when they are called.
#pragma once

#include <string_view>

#include "host/automation_ids.h"

namespace tav::sim::names {

namespace ids = host::dispatch;

namespace application {
inline constexpr std::u16string_view documents = ids::application::documentsName;
inline constexpr std::u16string_view displayAlerts = ids::application::displayAlertsName;
inline constexpr std::u16string_view doIdle = ids::application::doIdleName;
}  // namespace application

// Collections: the documents, the sections' sheets, a draft's sheets, and
// the count of a draft's line styles.
namespace collection {
inline constexpr std::u16string_view count = ids::documents::countName;
inline constexpr std::u16string_view item = ids::documents::itemName;
static_assert(count == ids::sheets::countName && item == ids::sheets::itemName);
static_assert(count == ids::lineStyles::countName);
}  // namespace collection

namespace documents {
inline constexpr std::u16string_view open = ids::documents::openName;
}  // namespace documents

namespace document {
inline constexpr std::u16string_view fullName = ids::document::fullNameName;
inline constexpr std::u16string_view readOnly = ids::document::readOnlyName;
inline constexpr std::u16string_view save = ids::document::saveName;
inline constexpr std::u16string_view close = ids::document::closeName;
}  // namespace document

namespace draft {
inline constexpr std::u16string_view sections = ids::draftDocument::sectionsName;
inline constexpr std::u16string_view sheets = ids::draftDocument::sheetsName;
}  // namespace draft

namespace sections {
inline constexpr std::u16string_view workingSection = ids::sections::workingSectionName;
inline constexpr std::u16string_view backgroundSection = ids::sections::backgroundSectionName;
}  // namespace sections

namespace section {
inline constexpr std::u16string_view sheets = ids::sections::sheetsName;
}  // namespace section

namespace sheet {
inline constexpr std::u16string_view name = ids::sheet::nameName;
inline constexpr std::u16string_view drawingViews = ids::sheet::drawingViewsName;
}  // namespace sheet

namespace drawingView {
inline constexpr std::u16string_view name = ids::drawingView::nameName;
}  // namespace drawingView

namespace lineStyle {
inline constexpr std::u16string_view name = ids::lineStyle::nameName;
inline constexpr std::u16string_view parent = ids::lineStyle::parentName;
}  // namespace lineStyle

namespace lineStyles {
inline constexpr std::u16string_view remove = ids::lineStyles::removeName;
}  // namespace lineStyles

}  // namespace tav::sim::names
