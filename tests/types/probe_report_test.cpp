// The probe's report and the declared types it holds: what a real Solid Edge
// tells us must read back exactly as written, or its replay here would serve
// another library than the one the user has.
#include <gtest/gtest.h>

#include <sstream>

#include "host/types/declared_type.h"
#include "host/types/guid_text.h"
#include "host/types/probe_report.h"

namespace tav::hosttypes {
namespace {

TEST(DeclaredTypes, ReadBackAsWritten) {
    for (const char* text : {"long",
                             "short",
                             "float",
                             "double",
                             "VARIANT_BOOL",
                             "BSTR",
                             "VARIANT",
                             "void",
                             "HRESULT",
                             "IDispatch*",
                             "IDispatch**",
                             "IUnknown*",
                             "Sheet*",
                             "DrawingViewTypeConstants",
                             "double*",
                             "VARIANT*",
                             "SAFEARRAY(float)*",
                             "SAFEARRAY(VARIANT)*",
                             "SAFEARRAY(double)",
                             "vt36",
                             "unsigned char"}) {
        const std::optional<DeclaredType> type = parseDeclaredType(text);
        ASSERT_TRUE(type) << text;
        EXPECT_EQ(textOf(*type), text);
    }
}

TEST(DeclaredTypes, TellObjectsFromArgumentsByReference) {
    EXPECT_TRUE(parseDeclaredType("IDispatch*")->isObject());
    EXPECT_TRUE(parseDeclaredType("Sheet*")->isObject());
    EXPECT_FALSE(parseDeclaredType("Sheet*")->byReference());
    EXPECT_TRUE(parseDeclaredType("VARIANT*")->byReference());
    EXPECT_TRUE(parseDeclaredType("SAFEARRAY(float)*")->byReference());
    EXPECT_TRUE(parseDeclaredType("IDispatch**")->byReference());
    EXPECT_FALSE(parseDeclaredType("long")->byReference());
    const DeclaredType floats = *parseDeclaredType("SAFEARRAY(float)*");
    EXPECT_TRUE(floats.safeArray);
    EXPECT_EQ(floats.base, vt::float32);
    EXPECT_EQ(floats.pointers, 1);
}

TEST(DeclaredTypes, RefuseWhatNoLibraryDeclares) {
    for (const char* text : {"", "IDispatch", "SAFEARRAY(float", "1st*", "long long"}) {
        EXPECT_FALSE(parseDeclaredType(text)) << text;
    }
}

TEST(DeclaredTypes, VariantTypesReadBackAsWritten) {
    for (std::uint16_t type : {std::uint16_t{vt::int32}, std::uint16_t{vt::arrayFlag | vt::float32},
                               std::uint16_t{vt::byReferenceFlag | vt::variant},
                               std::uint16_t{vt::byReferenceFlag | vt::arrayFlag | vt::float64},
                               std::uint16_t{0}, std::uint16_t{36}}) {
        EXPECT_EQ(parseVariantTypeText(variantTypeText(type)), type) << variantTypeText(type);
    }
    EXPECT_EQ(variantTypeText(vt::arrayFlag | vt::float32), "VT_ARRAY|VT_R4");
    EXPECT_FALSE(parseVariantTypeText("VT_NONSENSE"));
}

TEST(GuidText, ReadsBackWithOrWithoutBraces) {
    const host::InterfaceId id = host::InterfaceId::parse("DED89DB0-45B6-11CE-B307-0800363A1E02");
    EXPECT_EQ(guidText(id), "{DED89DB0-45B6-11CE-B307-0800363A1E02}");
    EXPECT_EQ(parseGuid(guidText(id)), id);
    EXPECT_EQ(parseGuid("ded89db0-45b6-11ce-b307-0800363a1e02"), id);
    EXPECT_FALSE(parseGuid("{DED89DB0-45B6-11CE-B307-0800363A1E0}"));
    EXPECT_FALSE(parseGuid("DED89DB0x45B6-11CE-B307-0800363A1E02"));
}

// The probe writes answers and forms; the simulated host reads them back to
// replay what a real Solid Edge took and refused.
TEST(ProbeReport, AnswersAndFormsReadBackAsWritten) {
    for (std::int32_t answer :
         {0, static_cast<std::int32_t>(0x80004002), static_cast<std::int32_t>(0x80020005), 1}) {
        EXPECT_EQ(answerNumber(answerText(answer)), answer) << answerText(answer);
    }
    EXPECT_EQ(answerText(static_cast<std::int32_t>(0x80020005)), "0x80020005");
    EXPECT_FALSE(answerNumber("0x8002000"));
    EXPECT_FALSE(answerNumber("none given"));

    const std::vector<DeclaredType> form{*parseDeclaredType("SAFEARRAY(float)*"),
                                         *parseDeclaredType("float*")};
    EXPECT_EQ(formText(form), "SAFEARRAY(float)*,float*");
    EXPECT_EQ(parseForm(formText(form)), form);
    EXPECT_FALSE(parseForm("VARIANT*,nonsense!"));
}

ProbeReport sampleReport() {
    ProbeReport report;
    report.probeVersion = "3.4.1";
    report.solidEdgeVersion = "226.00.00.123";
    report.instancesRunning = 1;
    report.roundTripCalls = 100;
    report.roundTripMilliseconds = 61.25;
    ReportedKind application;
    application.kind = "application";
    application.met = true;
    application.typeInfo = TypeAttributes{
        "Application", "{11111111-2222-3333-4444-555555555555}", "dispatch", 164, 0, 1};
    application.castIid = "{DED89DB0-45B6-11CE-B307-0800363A1E02}";
    application.castAnswer = "E_NOINTERFACE";
    ReportedMember active;
    active.id = 2;
    active.use = "get";
    DeclaredFunction declared;
    declared.id = 2;
    declared.name = "ActiveDocument";
    declared.kind = InvokeKind::get;
    declared.returns = *parseDeclaredType("IDispatch*");
    active.declared.push_back(declared);
    active.idOfName = 2;
    active.returned = "VT_DISPATCH";
    application.members.push_back(active);
    ReportedMember byName;
    byName.name = "Version";
    byName.use = "get";
    byName.returned = "failed 0x80020003";
    application.members.push_back(byName);
    report.kinds.push_back(application);
    ReportedKind sheet;
    sheet.kind = "sheet";
    report.kinds.push_back(sheet);  // not met
    ReportedKind part;
    part.kind = "part document";
    part.met = true;
    part.typeInfoProblem = "0x80004001";
    report.kinds.push_back(part);
    report.colorQuery.push_back({"SAFEARRAY(double)*", "0x80020005", "VT_ARRAY|VT_R8", {}, {}});
    report.colorQuery.push_back({"VARIANT*", "S_OK", "VT_ARRAY|VT_R4", 1, 3});
    report.problems.push_back("occurrence 3: no part document");
    return report;
}

TEST(ProbeReport, ReadsBackAsWritten) {
    const ProbeReport report = sampleReport();
    std::stringstream text;
    writeProbeReport(text, report);
    const ProbeReport read = readProbeReport(text);
    EXPECT_EQ(read.probeVersion, report.probeVersion);
    EXPECT_EQ(read.solidEdgeVersion, report.solidEdgeVersion);
    EXPECT_EQ(read.instancesRunning, report.instancesRunning);
    EXPECT_EQ(read.roundTripMilliseconds, report.roundTripMilliseconds);
    EXPECT_EQ(read.kinds, report.kinds);
    EXPECT_EQ(read.colorQuery, report.colorQuery);
    EXPECT_EQ(read.problems, report.problems);
}

TEST(ProbeReport, StartsWithItsFormatLine) {
    std::stringstream text;
    writeProbeReport(text, sampleReport());
    std::string first;
    std::getline(text, first);
    EXPECT_EQ(first, "{\"format\": \"tavrelmondix-probe/1\",");
}

TEST(ProbeReport, RefusesWhatIsNoReport) {
    for (const char* text : {"", "{}", "{\"format\": \"tavrelmondix-result/1\"}",
                             "{\"format\": \"tavrelmondix-probe/1\"}"}) {
        std::istringstream in(text);
        EXPECT_THROW(readProbeReport(in), std::runtime_error) << text;
    }
    std::stringstream badType;
    writeProbeReport(badType, sampleReport());
    std::string written = badType.str();
    written.replace(written.find("\"IDispatch*\""), 12, "\"IDispatch\"");
    std::istringstream in(written);
    EXPECT_THROW(readProbeReport(in), std::runtime_error);
}

}  // namespace
}  // namespace tav::hosttypes
