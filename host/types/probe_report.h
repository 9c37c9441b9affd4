// The probe's report: what one Solid Edge declares and answers for every
// kind of object the tool meets (object_kinds.h), as a user sends it to us.
// The probe writes it (tavrelmondix-probe.exe); the simulated host reads it
// back and serves what it describes, so that a real Solid Edge's answers
// replay here. The format is documented in docs/probe-report.md.
//
// The report names no document, file or part: it holds types, names of
// interfaces and members, dispatch ids and VARIANT types, never a value.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/types/declared_type.h"

namespace tav::hosttypes {

inline constexpr std::string_view probeReportFormat = "tavrelmondix-probe/1";

enum class InvokeKind { method, get, put, putReference };

// One function of a type information, as it declares it.
struct DeclaredFunction {
    std::int32_t id = 0;
    std::string name;
    InvokeKind kind = InvokeKind::get;
    std::vector<DeclaredType> parameters;
    int optionalParameters = 0;
    DeclaredType returns;

    bool operator==(const DeclaredFunction&) const = default;
};

// One member the tool uses on a kind of object.
struct ReportedMember {
    std::optional<std::int32_t> id;  // called by dispatch id
    std::string name;                // or by late-bound name
    std::string use;                 // get, put, getAndPut, method, query, item
    // Every function the type information declares under the member's id
    // (for a name: the id GetIDsOfNames gives), in the order it lists them.
    std::vector<DeclaredFunction> declared;
    // What GetIDsOfNames gives for the name (for a member called by id: for
    // its declared name); nothing when it does not know the name.
    std::optional<std::int32_t> idOfName;
    // The VARIANT type a read of it gave ("VT_I4"), or how the read failed
    // ("failed 0x80020003"), or "not called" (a write or a change).
    std::string returned;

    bool operator==(const ReportedMember&) const = default;
};

struct TypeAttributes {
    std::string name;
    std::string guid;      // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    std::string typeKind;  // dispatch, interface, coclass, enum, ...
    int functions = 0;
    int variables = 0;
    int implementedTypes = 0;

    bool operator==(const TypeAttributes&) const = default;
};

struct ReportedKind {
    std::string kind;
    bool met = false;  // the probe reached an object of this kind
    std::optional<TypeAttributes> typeInfo;
    std::string typeInfoProblem;  // why there is none: "0x80004001", "none given"
    // QueryInterface for the id the tool casts this kind to, and its answer
    // ("S_OK", "E_NOINTERFACE" or the HRESULT); none for a kind never cast.
    std::string castIid;
    std::string castAnswer;
    std::vector<ReportedMember> members;

    bool operator==(const ReportedKind&) const = default;
};

// One way of passing the colour query's by-reference arguments, and what
// came of it.
struct ColorQueryForm {
    std::string form;    // how each argument was passed: "SAFEARRAY(double)*", "VARIANT*"
    std::string answer;  // "S_OK" or the HRESULT
    // What the first argument held afterwards ("VT_ARRAY|VT_R4"), with the
    // array's lower bound and length.
    std::string returned;
    std::optional<std::int32_t> lowerBound;
    std::optional<std::int32_t> elements;

    bool operator==(const ColorQueryForm&) const = default;
};

struct ProbeReport {
    std::string probeVersion;
    std::string solidEdgeVersion;  // "Version" of the application, or "unknown"
    int instancesRunning = 0;      // Solid Edge applications in the running-object table
    int roundTripCalls = 0;
    double roundTripMilliseconds = 0;  // all the calls together
    std::vector<ReportedKind> kinds;
    std::vector<ColorQueryForm> colorQuery;
    // What the probe could not do, by kind and index ("occurrence 3: ...").
    std::vector<std::string> problems;

    const ReportedKind* kindNamed(std::string_view kind) const;
};

std::string_view invokeKindText(InvokeKind kind);

// The answer of a call as the report writes it: "S_OK", "E_NOINTERFACE" or
// the HRESULT ("0x80020005"); and back (nothing for text that is none).
std::string answerText(std::int32_t hresult);
std::optional<std::int32_t> answerNumber(std::string_view text);

// A form of the colour query's arguments: their declared types joined by
// ","; and back (nothing for text that is none).
std::string formText(const std::vector<DeclaredType>& form);
std::optional<std::vector<DeclaredType>> parseForm(std::string_view text);

// The report as text: its first line is {"format": "tavrelmondix-probe/1",
// and the rest JSON, so that both a person and a program read it.
void writeProbeReport(std::ostream& out, const ProbeReport& report);
// Raises std::runtime_error saying what is wrong.
ProbeReport readProbeReport(std::istream& in);

}  // namespace tav::hosttypes
