// The names a scene uses to inject faults ("fail" lists) and to override the
// count of a collection ("counts"), per kind of object. The loader accepts
// these names only, and the simulated objects look them up by the same
// constants.
#pragma once

#include <array>
#include <string_view>

namespace tav::sim {

namespace fault {

namespace application {
inline constexpr std::string_view activeDocument = "activeDocument";
inline constexpr std::string_view putInteractive = "put18";
inline constexpr std::string_view putDelayCompute = "put73";
inline constexpr std::string_view startCommand = "command79";
inline constexpr std::string_view documents = "documents";
inline constexpr std::string_view putDisplayAlerts = "putDisplayAlerts";
inline constexpr std::string_view documentsOpen = "documents.open";
inline constexpr std::string_view documentsItem = "documents.item";
inline constexpr std::array all{activeDocument, putInteractive,   putDelayCompute, startCommand,
                                documents,      putDisplayAlerts, documentsOpen,   documentsItem};
}  // namespace application

// Keys every document takes, whatever its kind.
namespace anyDocument {
inline constexpr std::string_view open = "open";
inline constexpr std::string_view save = "save";
inline constexpr std::string_view close = "close";
inline constexpr std::string_view fullName = "fullName";
inline constexpr std::string_view readOnly = "readOnly";
inline constexpr std::array all{open, save, close, fullName, readOnly};
}  // namespace anyDocument

namespace draft {
inline constexpr std::string_view activeSheet = "activeSheet";
inline constexpr std::string_view selectSet = "selectSet";
inline constexpr std::string_view lineStyles = "lineStyles";
inline constexpr std::string_view drawingViews = "drawingViews";
inline constexpr std::string_view drawingViewsCount = "drawingViews.count";
inline constexpr std::string_view drawingViewsItem = "drawingViews.item";
inline constexpr std::string_view selectSetCount = "selectSet.count";
inline constexpr std::string_view selectSetItem = "selectSet.item";
inline constexpr std::string_view selectSetAdd = "selectSet.add";
inline constexpr std::string_view selectSetRemove = "selectSet.remove";
inline constexpr std::string_view selectSetClear = "selectSet.clear";
inline constexpr std::string_view sections = "sections";
inline constexpr std::string_view sheets = "sheets";
inline constexpr std::array all{activeSheet,           selectSet,          lineStyles,
                                drawingViews,          drawingViewsCount,  drawingViewsItem,
                                selectSetCount,        selectSetItem,      selectSetAdd,
                                selectSetRemove,       selectSetClear,     anyDocument::open,
                                anyDocument::save,     anyDocument::close, anyDocument::fullName,
                                anyDocument::readOnly, sections,           sheets};
}  // namespace draft

namespace sheet {
inline constexpr std::string_view drawingViews = "drawingViews";
inline constexpr std::string_view name = "name";
inline constexpr std::array all{drawingViews, name};
}  // namespace sheet

// The draft's line styles collection and its styles ("lineStylesFail").
namespace lineStyles {
inline constexpr std::string_view item = "item";
inline constexpr std::string_view add = "add";
inline constexpr std::string_view putColor = "putColor";
// "add:NAME" fails only the creation of the style NAME.
inline constexpr std::string_view addNamedPrefix = "add:";
inline constexpr std::string_view remove = "remove";
// "remove:NAME" fails only the removal of the style NAME.
inline constexpr std::string_view removeNamedPrefix = "remove:";
inline constexpr std::array all{item, add, putColor, remove};
}  // namespace lineStyles

// One line style of a scene ("fail" on its entry).
namespace lineStyle {
inline constexpr std::string_view parent = "parent";
inline constexpr std::array all{parent};
}  // namespace lineStyle

namespace drawingView {
inline constexpr std::string_view modelReference = "modelReference";
inline constexpr std::string_view modelMembers = "modelMembers";
inline constexpr std::string_view type = "type";
inline constexpr std::string_view drawingViewType = "drawingViewType";
inline constexpr std::string_view modelFile = "modelFile";
inline constexpr std::string_view modelDocument = "modelDocument";
inline constexpr std::array all{modelReference,  modelMembers, type,
                                drawingViewType, modelFile,    modelDocument};
}  // namespace drawingView

namespace selectedItem {
inline constexpr std::string_view type = "type";
inline constexpr std::string_view drawingViewType = "drawingViewType";
inline constexpr std::array all{type, drawingViewType};
}  // namespace selectedItem

namespace assembly {
inline constexpr std::string_view occurrences = "occurrences";
inline constexpr std::string_view occurrencesCount = "occurrences.count";
inline constexpr std::string_view occurrencesItem = "occurrences.item";
inline constexpr std::array all{occurrences,           occurrencesCount,     occurrencesItem,
                                anyDocument::open,     anyDocument::save,    anyDocument::close,
                                anyDocument::fullName, anyDocument::readOnly};
}  // namespace assembly

namespace part {
inline constexpr std::array all = anyDocument::all;
}  // namespace part

// Keys shared by occurrences and sub-occurrences.
namespace anyOccurrence {
inline constexpr std::string_view isSubassembly = "isSubassembly";
inline constexpr std::string_view subOccurrences = "subOccurrences";
inline constexpr std::string_view subOccurrencesCount = "subOccurrences.count";
inline constexpr std::string_view subOccurrencesItem = "subOccurrences.item";
inline constexpr std::string_view file = "file";
}  // namespace anyOccurrence

namespace occurrence {
using anyOccurrence::file;
using anyOccurrence::isSubassembly;
using anyOccurrence::subOccurrences;
using anyOccurrence::subOccurrencesCount;
using anyOccurrence::subOccurrencesItem;
inline constexpr std::string_view style = "style";
inline constexpr std::string_view styleRed = "style.red";
inline constexpr std::string_view styleGreen = "style.green";
inline constexpr std::string_view styleBlue = "style.blue";
inline constexpr std::string_view partDocument = "partDocument";
inline constexpr std::string_view models = "models";
inline constexpr std::string_view body = "body";
inline constexpr std::string_view faceStyle = "faceStyle";
inline constexpr std::string_view faceStyleRed = "faceStyle.red";
inline constexpr std::string_view faceStyleGreen = "faceStyle.green";
inline constexpr std::string_view faceStyleBlue = "faceStyle.blue";
inline constexpr std::array all{
    isSubassembly, subOccurrences, subOccurrencesCount, subOccurrencesItem, file,   style,
    styleRed,      styleGreen,     styleBlue,           partDocument,       models, body,
    faceStyle,     faceStyleRed,   faceStyleGreen,      faceStyleBlue};
}  // namespace occurrence

namespace subOccurrence {
using anyOccurrence::file;
using anyOccurrence::isSubassembly;
using anyOccurrence::subOccurrences;
using anyOccurrence::subOccurrencesCount;
using anyOccurrence::subOccurrencesItem;
inline constexpr std::string_view displayColors = "colorQuery";
inline constexpr std::array all{isSubassembly,      subOccurrences, subOccurrencesCount,
                                subOccurrencesItem, file,           displayColors};
}  // namespace subOccurrence

namespace modelMember {
inline constexpr std::string_view type = "type";
inline constexpr std::string_view children = "children";
inline constexpr std::string_view childrenCount = "children.count";
inline constexpr std::string_view childrenItem = "children.item";
inline constexpr std::string_view name = "name";
inline constexpr std::string_view edgeStylesOverridden = "flag26";
inline constexpr std::string_view visibleStyle = "visibleStyle";
inline constexpr std::string_view hiddenStyle = "hiddenStyle";
inline constexpr std::string_view tangentStyle = "tangentStyle";
inline constexpr std::string_view putVisible = "putVisible";
inline constexpr std::string_view putHidden = "putHidden";
inline constexpr std::string_view putTangent = "putTangent";
inline constexpr std::array all{
    type,         children,    childrenCount, childrenItem, name,      edgeStylesOverridden,
    visibleStyle, hiddenStyle, tangentStyle,  putVisible,   putHidden, putTangent};
// A view's root member answers only for its children.
inline constexpr std::array root{children, childrenCount, childrenItem};
}  // namespace modelMember

}  // namespace fault

// Collections whose count a scene may override, by the owner's kind.
namespace counted {
inline constexpr std::string_view drawingViews = "drawingViews";
inline constexpr std::string_view selectSet = "selectSet";
inline constexpr std::string_view occurrences = "occurrences";
inline constexpr std::string_view subOccurrences = "subOccurrences";
inline constexpr std::string_view children = "children";

inline constexpr std::array draft{drawingViews, selectSet};
inline constexpr std::array assembly{occurrences};
inline constexpr std::array anyOccurrence{subOccurrences};
inline constexpr std::array modelMember{children};
}  // namespace counted

}  // namespace tav::sim
