#include "engine/assembly_walk.h"

#include <array>

#include "engine/color.h"
#include "engine/error_modes.h"
#include "engine/file_names.h"
#include "engine/host_paths.h"
#include "engine/progress_dots.h"
#include "host/conversions.h"

namespace tav::engine {
namespace {

namespace dispatch = host::dispatch;
using host::ObjectRef;
using host::toObject;

constexpr std::u16string_view restartCaption = u"Processing SubOccurrences.";

// Fetched afresh for the count and for every occurrence, on purpose: it keeps
// the host calls and their order, on which the results, the numbering of faults
// and drawings coloured before depend.
ObjectRef occurrencesOf(const ObjectRef& assembly) {
    return collection(assembly, dispatch::assemblyDocument::occurrences,
                      dispatch::occurrences::iid);
}

// Where a subassembly keeps its children and its file name: an occurrence of
// the top assembly and a sub-occurrence below it answer the same questions
// under different dispatch ids.
struct SubassemblyMembers {
    host::DispId subOccurrences;
    host::DispId fileName;
};
constexpr SubassemblyMembers occurrenceMembers{dispatch::occurrence::subOccurrences,
                                               dispatch::occurrence::fileName};
constexpr SubassemblyMembers subOccurrenceMembers{dispatch::subOccurrence::subOccurrences,
                                                  dispatch::subOccurrence::fileName};

ObjectRef childrenOf(const ObjectRef& subassembly, const SubassemblyMembers& members) {
    return collection(subassembly, members.subOccurrences, dispatch::subOccurrences::iid);
}

std::int16_t countOf(const ObjectRef& items, host::DispId countMember) {
    return host::toInt16(items.get(countMember));
}

// Walks the children of `subassembly`, whose own path is `path` & "/" & its
// file name. The probe of the children's count is the one tolerated step of the
// walk (its value is thrown away and the count read again): a subassembly whose
// children cannot be counted in 16 bits contributes nothing. The collection and
// the subassembly's name are fetched again for every child. Both are repeated
// on purpose: a host that fails part of the way stops the walk at the same
// child, and it keeps the host calls and their order, on which the results, the
// numbering of faults and drawings coloured before depend.
void readChildren(RunContext& context, const ObjectRef& subassembly,
                  const SubassemblyMembers& members, const std::u16string& path) {
    if (!attempt(
            [&] { countOf(childrenOf(subassembly, members), dispatch::subOccurrences::count); })) {
        return;
    }
    const std::int16_t childCount =
        countOf(childrenOf(subassembly, members), dispatch::subOccurrences::count);
    for (std::int32_t k = 1; k <= childCount; ++k) {
        ObjectRef child = itemAt(childrenOf(subassembly, members), k, dispatch::subOccurrence::iid);
        std::u16string name = host::toText(subassembly.get(members.fileName));
        readSubOccurrences(context, child, path + u"/" + getFileName(name));
    }
}

// Colour of a part directly in the top assembly: its occurrence style, else
// the face style of its body, else no colour.
ColorValue topLevelPartColor(const ObjectRef& occurrence) {
    // The style is read once for the test and once more for its colour, on
    // purpose: it keeps the host calls and their order, on which the results,
    // the numbering of faults and drawings coloured before depend.
    if (!toObject(occurrence.get(dispatch::occurrence::style)).empty()) {
        ObjectRef style = toObject(occurrence.get(dispatch::occurrence::style));
        std::int16_t red = scaleComponent(style.get(dispatch::occurrence::diffuseRedName));
        std::int16_t green = scaleComponent(style.get(dispatch::occurrence::diffuseGreenName));
        std::int16_t blue = scaleComponent(style.get(dispatch::occurrence::diffuseBlueName));
        return combineComponents(red, green, blue);
    }
    ObjectRef partDocument = toObject(occurrence.get(dispatch::occurrence::partDocument));
    std::array<host::Argument, 1> firstModel{host::byValue(std::int16_t{1})};
    ObjectRef models = toObject(partDocument.get(dispatch::occurrence::modelsName, firstModel));
    ObjectRef body = toObject(models.get(dispatch::occurrence::bodyName)).as(dispatch::body::iid);
    ObjectRef faceStyle =
        toObject(body.get(dispatch::body::faceStyle)).as(dispatch::faceStyle::iid);
    if (faceStyle.empty()) {
        return noColor;
    }
    std::int16_t red = scaleComponent(host::toSingle(faceStyle.get(dispatch::faceStyle::red)));
    std::int16_t green = scaleComponent(host::toSingle(faceStyle.get(dispatch::faceStyle::green)));
    std::int16_t blue = scaleComponent(host::toSingle(faceStyle.get(dispatch::faceStyle::blue)));
    return combineComponents(red, green, blue);
}

// Colour of a part below the top level: the first triple of the host's colour
// query. A host that leaves the array untouched gives black.
ColorValue subOccurrenceColor(const ObjectRef& subOccurrence) {
    auto emptyTriple = [] { return host::byReference(host::DoubleArray{{0.0, 0.0, 0.0}}); };
    std::array<host::Argument, 6> arguments{emptyTriple(),          emptyTriple(),
                                            emptyTriple(),          emptyTriple(),
                                            host::byReference(0.0), host::byReference(0.0)};
    subOccurrence.call(dispatch::subOccurrence::displayColors, arguments);
    const auto* triple = arguments[0].value.getIf<host::DoubleArray>();
    if (triple == nullptr || triple->items.size() < 3) {
        throw host::typeMismatchError();
    }
    return combineComponents(scaleComponent(triple->items[0]), scaleComponent(triple->items[1]),
                             scaleComponent(triple->items[2]));
}

}  // namespace

void readAllSubOccurrences(RunContext& context, const ObjectRef& assemblyDocument) {
    RecordTable<PartRecord>& parts = context.state.tables.parts;
    const std::int16_t occurrenceCount =
        countOf(occurrencesOf(assemblyDocument), dispatch::occurrences::count);
    ObjectRef occurrence;
    for (std::int32_t i = 1; i <= occurrenceCount; ++i) {
        occurrence = itemAt(occurrencesOf(assemblyDocument), i, dispatch::occurrence::iid);
        if (host::toBool(occurrence.get(dispatch::occurrence::isSubassembly))) {
            readChildren(context, occurrence, occurrenceMembers, u"");
            continue;
        }
        const ColorValue color = topLevelPartColor(occurrence);
        PartRecord& record = parts.append();
        record.fileName = getFileName(host::toText(occurrence.get(dispatch::occurrence::fileName)));
        record.color = color;  // assemblyPath stays empty, used False
    }
    occurrence.reset();
}

void readSubOccurrences(RunContext& context, const ObjectRef& subOccurrence,
                        const std::u16string& path) {
    progressStep(context, restartCaption);
    if (host::toBool(subOccurrence.get(dispatch::subOccurrence::isSubassembly))) {
        readChildren(context, subOccurrence, subOccurrenceMembers, path);
        return;
    }
    // The record is appended before its fields are read. A failure below
    // ends the run (the walk is strict) with the record partly written;
    // nothing reads it before the tables are cleared.
    PartRecord& record = context.state.tables.parts.append();
    record.fileName =
        getFileName(host::toText(subOccurrence.get(dispatch::subOccurrence::fileName)));
    record.assemblyPath = path;
    record.color = subOccurrenceColor(subOccurrence);
}

}  // namespace tav::engine
