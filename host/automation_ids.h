// Every dispatch id, late-bound name, interface id and fixed value of the
// Solid Edge object model that the tool uses, named once.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tav::host {

using DispId = std::int32_t;

// An interface id: a GUID with the layout of the Windows GUID structure, so
// that the COM backend can pass it on as it is. Written in registry form in
// this file ("DED89DB0-45B6-11CE-B307-0800363A1E02") and parsed at compile time.
struct InterfaceId {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    bool operator==(const InterfaceId&) const = default;

    // Parses the 36-character registry form; anything else fails to compile.
    static consteval InterfaceId parse(std::string_view text) {
        if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' ||
            text[23] != '-') {
            throw "an interface id is written as XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX";
        }
        InterfaceId id;
        id.data1 = static_cast<std::uint32_t>(hex(text, 0, 8));
        id.data2 = static_cast<std::uint16_t>(hex(text, 9, 4));
        id.data3 = static_cast<std::uint16_t>(hex(text, 14, 4));
        for (std::size_t i = 0; i < 2; ++i) {
            id.data4[i] = static_cast<std::uint8_t>(hex(text, 19 + 2 * i, 2));
        }
        for (std::size_t i = 0; i < 6; ++i) {
            id.data4[2 + i] = static_cast<std::uint8_t>(hex(text, 24 + 2 * i, 2));
        }
        return id;
    }

  private:
    static consteval std::uint64_t hex(std::string_view text, std::size_t from, std::size_t n) {
        std::uint64_t value = 0;
        for (char c : text.substr(from, n)) {
            value *= 16;
            if (c >= '0' && c <= '9') {
                value += static_cast<std::uint64_t>(c - '0');
            } else if (c >= 'A' && c <= 'F') {
                value += static_cast<std::uint64_t>(c - 'A' + 10);
            } else if (c >= 'a' && c <= 'f') {
                value += static_cast<std::uint64_t>(c - 'a' + 10);
            } else {
                throw "an interface id holds hexadecimal digits only";
            }
        }
        return value;
    }
};

inline constexpr std::u16string_view hostProgId = u"solidedge.application";

namespace dispatch {

// The default member: reading it with one argument fetches a collection item.
inline constexpr DispId defaultMember = 0;

namespace application {
inline constexpr InterfaceId iid = InterfaceId::parse("DED89DB0-45B6-11CE-B307-0800363A1E02");
inline constexpr DispId activeDocument = 2;
// Boolean switches held around a run: interactive is False and delay-compute
// True while the tool works, and both go back when it ends.
inline constexpr DispId interactive = 18;
inline constexpr DispId delayCompute = 73;
// Method taking one Long command number.
inline constexpr DispId startCommand = 79;
// The command started once a run has finished.
inline constexpr std::int32_t commandAfterRun = 32876;
// Late-bound, for the command-line tool: the open documents, and whether
// the host shows its own message boxes (off while the tool works).
inline constexpr std::u16string_view documentsName = u"Documents";
inline constexpr std::u16string_view displayAlertsName = u"DisplayAlerts";
// Method: lets the host finish its idle-time work.
inline constexpr std::u16string_view doIdleName = u"DoIdle";
}  // namespace application

// Late-bound names of the command-line tool on the documents collection and
// on any document.
namespace documents {
inline constexpr std::u16string_view countName = u"Count";
inline constexpr std::u16string_view itemName = u"Item";
// Opens the document of a file name (one argument) and returns it.
inline constexpr std::u16string_view openName = u"Open";
}  // namespace documents

namespace document {
inline constexpr std::u16string_view fullNameName = u"FullName";
inline constexpr std::u16string_view readOnlyName = u"ReadOnly";
inline constexpr std::u16string_view saveName = u"Save";
// Method taking SaveChanges, a Boolean.
inline constexpr std::u16string_view closeName = u"Close";
}  // namespace document

namespace draftDocument {
inline constexpr InterfaceId iid = InterfaceId::parse("016B11FB-CDC0-11CE-A035-08003601E53B");
inline constexpr DispId activeSheet = 4198;
inline constexpr DispId selectSet = 39;
inline constexpr DispId lineStyles = 8197;
// The select set, read by name on the active document.
inline constexpr std::u16string_view selectSetName = u"SelectSet";
// Late-bound, for the command-line tool: the working and background sections,
// and every sheet of both.
inline constexpr std::u16string_view sectionsName = u"Sections";
inline constexpr std::u16string_view sheetsName = u"Sheets";
}  // namespace draftDocument

// Late-bound: a draft's sections and the sheets of one.
namespace sections {
inline constexpr std::u16string_view workingSectionName = u"WorkingSection";
inline constexpr std::u16string_view backgroundSectionName = u"BackgroundSection";
inline constexpr std::u16string_view sheetsName = u"Sheets";
}  // namespace sections

namespace sheets {
inline constexpr std::u16string_view countName = u"Count";
inline constexpr std::u16string_view itemName = u"Item";
}  // namespace sheets

namespace sheet {
inline constexpr InterfaceId iid = InterfaceId::parse("FFB20FA0-339B-11CE-956A-08003601DFE5");
inline constexpr DispId drawingViews = 20481;
inline constexpr std::u16string_view drawingViewsName = u"DrawingViews";
inline constexpr std::u16string_view nameName = u"Name";
}  // namespace sheet

namespace drawingViews {
inline constexpr InterfaceId iid = InterfaceId::parse("61F55454-5269-11CE-9CFE-08003637FB01");
inline constexpr DispId count = 2;
}  // namespace drawingViews

namespace selectSet {
inline constexpr InterfaceId iid = InterfaceId::parse("F9293970-4812-11CE-9647-0800367E0502");
inline constexpr DispId count = 3;
inline constexpr DispId add = 4;
inline constexpr DispId remove = 5;
inline constexpr DispId clear = 6;
// Read by name on a selected item.
inline constexpr std::u16string_view typeName = u"Type";
inline constexpr std::u16string_view drawingViewTypeName = u"DrawingViewType";
// "Type" of a drawing view.
inline constexpr std::int32_t drawingViewObjectType = 1298446368;
// The two drawing view kinds the tool leaves out. The kind is read once per
// comparison: the first read is compared with the first, the second with the
// second.
inline constexpr std::array<std::int32_t, 2> unusableViewKinds{5, 0};
}  // namespace selectSet

namespace drawingView {
inline constexpr InterfaceId iid = InterfaceId::parse("61F55450-5269-11CE-9CFE-08003637FB01");
inline constexpr DispId modelReference = 27;
inline constexpr DispId modelMembers = 24686;
inline constexpr std::u16string_view nameName = u"Name";
}  // namespace drawingView

namespace modelReference {
inline constexpr InterfaceId iid = InterfaceId::parse("A32FC151-10C7-11D0-A1C3-08003627CF02");
inline constexpr DispId fileName = 1;
inline constexpr DispId modelDocument = 3;
}  // namespace modelReference

namespace assemblyDocument {
inline constexpr InterfaceId iid = InterfaceId::parse("00C6BF00-483B-11CE-951A-08003601BE52");
inline constexpr DispId occurrences = 16390;
}  // namespace assemblyDocument

namespace occurrences {
inline constexpr InterfaceId iid = InterfaceId::parse("7AD88CC9-E2F4-11D2-BED3-080036B4D502");
inline constexpr DispId count = 3;
}  // namespace occurrences

namespace occurrence {
inline constexpr InterfaceId iid = InterfaceId::parse("600251C5-E2F4-11D2-BED3-080036B4D502");
inline constexpr DispId isSubassembly = 10;
inline constexpr DispId subOccurrences = 43;
inline constexpr DispId fileName = 39;
inline constexpr DispId style = 36;
inline constexpr DispId partDocument = 38;
// Late-bound names on the occurrence style, the part document and its models.
inline constexpr std::u16string_view diffuseRedName = u"DiffuseRed";
inline constexpr std::u16string_view diffuseGreenName = u"DiffuseGreen";
inline constexpr std::u16string_view diffuseBlueName = u"DiffuseBlue";
inline constexpr std::u16string_view modelsName = u"Models";
inline constexpr std::u16string_view bodyName = u"body";
}  // namespace occurrence

namespace subOccurrences {
inline constexpr InterfaceId iid = InterfaceId::parse("C32A477A-8C85-11D3-9737-0060973828B5");
inline constexpr DispId count = 5;
}  // namespace subOccurrences

namespace subOccurrence {
inline constexpr InterfaceId iid = InterfaceId::parse("C32A477B-8C85-11D3-9737-0060973828B5");
inline constexpr DispId isSubassembly = 12;
inline constexpr DispId subOccurrences = 9;
inline constexpr DispId fileName = 7;
// Method: the colours the sub-occurrence is shown in, returned through six
// by-reference arguments, four arrays of three doubles and then two doubles.
// The first array holds red, green and blue.
inline constexpr DispId displayColors = 15;
}  // namespace subOccurrence

namespace body {
inline constexpr InterfaceId iid = InterfaceId::parse("09FCA073-DFBF-11D0-A275-080036C5ED02");
inline constexpr DispId faceStyle = 515;
}  // namespace body

namespace faceStyle {
inline constexpr InterfaceId iid = InterfaceId::parse("7F5EF5C0-A66F-11CE-815F-08003601E504");
inline constexpr DispId red = 12;
inline constexpr DispId green = 13;
inline constexpr DispId blue = 14;
}  // namespace faceStyle

namespace modelMembers {
inline constexpr InterfaceId iid = InterfaceId::parse("E3CA5EF6-163D-11D4-AB46-00C04F72E275");
inline constexpr DispId count = 2;
}  // namespace modelMembers

namespace modelMember {
inline constexpr InterfaceId iid = InterfaceId::parse("F4E15A14-163D-11D4-AB46-00C04F72E275");
inline constexpr DispId type = 25;
inline constexpr DispId children = 12;
inline constexpr DispId name = 4;
// Boolean: True when the member's edge styles are set on the member itself
// rather than taken from the view, so they are not the drawing's own styles.
inline constexpr DispId edgeStylesOverridden = 26;
inline constexpr DispId visibleEdgeStyle = 9;
inline constexpr DispId hiddenEdgeStyle = 10;
inline constexpr DispId tangentEdgeStyle = 11;
// Member types: a subassembly's container, and the two kinds of part member.
inline constexpr std::int32_t containerType = 0;
inline constexpr std::int32_t partType = 1;
inline constexpr std::int32_t otherPartType = 6;
}  // namespace modelMember

namespace lineStyles {
inline constexpr InterfaceId iid = InterfaceId::parse("E4D115C0-4999-11CE-A82A-08003601E855");
inline constexpr DispId add = 100;
// Method taking a style's name.
inline constexpr std::u16string_view removeName = u"Remove";
// How many styles the document holds; they are items 1..Count of the
// default member.
inline constexpr std::u16string_view countName = u"Count";
}  // namespace lineStyles

namespace lineStyle {
inline constexpr InterfaceId iid = InterfaceId::parse("0C60FBA0-FFE3-11CD-A82A-08003601E855");
inline constexpr DispId color = 103;
inline constexpr std::u16string_view nameName = u"Name";
// The name of the style it was created from ("" for none).
inline constexpr std::u16string_view parentName = u"Parent";
}  // namespace lineStyle

}  // namespace dispatch
}  // namespace tav::host
