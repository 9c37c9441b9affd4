// The late-bound names of the members the simulated host answers beyond the
// object table's dispatch ids: documents on disk, sections and sheets, alerts,
// and the names of views and line styles. They are the names of Solid Edge's
// own type library; letter case is ignored when they are called.
#pragma once

#include <string_view>

namespace tav::sim::names {

namespace application {
inline constexpr std::u16string_view documents = u"Documents";
inline constexpr std::u16string_view displayAlerts = u"DisplayAlerts";
inline constexpr std::u16string_view doIdle = u"DoIdle";
}  // namespace application

// Collections: the documents, the sections' sheets, a draft's sheets.
namespace collection {
inline constexpr std::u16string_view count = u"Count";
inline constexpr std::u16string_view item = u"Item";
}  // namespace collection

namespace documents {
inline constexpr std::u16string_view open = u"Open";
}  // namespace documents

namespace document {
inline constexpr std::u16string_view fullName = u"FullName";
inline constexpr std::u16string_view readOnly = u"ReadOnly";
inline constexpr std::u16string_view save = u"Save";
inline constexpr std::u16string_view close = u"Close";
}  // namespace document

namespace draft {
inline constexpr std::u16string_view sections = u"Sections";
inline constexpr std::u16string_view sheets = u"Sheets";
}  // namespace draft

namespace sections {
inline constexpr std::u16string_view workingSection = u"WorkingSection";
inline constexpr std::u16string_view backgroundSection = u"BackgroundSection";
}  // namespace sections

namespace section {
inline constexpr std::u16string_view sheets = u"Sheets";
}  // namespace section

namespace sheet {
inline constexpr std::u16string_view name = u"Name";
inline constexpr std::u16string_view drawingViews = u"DrawingViews";
}  // namespace sheet

namespace drawingView {
inline constexpr std::u16string_view name = u"Name";
}  // namespace drawingView

namespace lineStyle {
inline constexpr std::u16string_view name = u"Name";
inline constexpr std::u16string_view parent = u"Parent";
}  // namespace lineStyle

namespace lineStyles {
inline constexpr std::u16string_view remove = u"Remove";
}  // namespace lineStyles

}  // namespace tav::sim::names
