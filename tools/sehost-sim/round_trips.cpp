#include "tools/sehost-sim/round_trips.h"

#include <nlohmann/json.hpp>

#include "tools/sehost-sim/host_classes.h"

namespace tav::sehost {
namespace {

// The COM runtime's interface for reference counts across processes, and its
// successor, as the wire protocol defines them.
constexpr IID remUnknown = {
    0x00000131, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID remUnknown2 = {
    0x00000143, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Methods after IUnknown's three.
namespace method {
constexpr WORD getTypeInfoCount = 3;
constexpr WORD getTypeInfo = 4;
constexpr WORD getIDsOfNames = 5;
constexpr WORD invoke = 6;
constexpr WORD remQueryInterface = 3;
constexpr WORD remAddRef = 4;
constexpr WORD remRelease = 5;
constexpr WORD remQueryInterface2 = 6;
}  // namespace method

}  // namespace

void RoundTrips::count(const INTERFACEINFO* call) {
    if (call == nullptr) {
        ++other;
        return;
    }
    if (IsEqualIID(call->iid, IID_IDispatch) || isHostInterface(call->iid) ||
        isOwnClassType(call->iid)) {
        switch (call->wMethod) {
            case method::getTypeInfoCount:
                ++getTypeInfoCount;
                return;
            case method::getTypeInfo:
                ++getTypeInfo;
                return;
            case method::getIDsOfNames:
                ++getIDsOfNames;
                return;
            case method::invoke:
                ++invoke;
                return;
            default:
                ++other;
                return;
        }
    }
    if (IsEqualIID(call->iid, remUnknown) || IsEqualIID(call->iid, remUnknown2)) {
        switch (call->wMethod) {
            case method::remQueryInterface:
            case method::remQueryInterface2:
                ++queryInterface;
                return;
            case method::remAddRef:
                ++addRef;
                return;
            case method::remRelease:
                ++release;
                return;
            default:
                ++other;
                return;
        }
    }
    if (IsEqualIID(call->iid, IID_ITypeInfo)) {
        ++typeInfoCalls;
        return;
    }
    ++other;
}

std::int64_t RoundTrips::total() const {
    return invoke + getIDsOfNames + getTypeInfo + getTypeInfoCount + queryInterface + addRef +
           release + typeInfoCalls + other + rejected;
}

std::string RoundTrips::jsonText() const {
    const nlohmann::ordered_json json{
        {"total", total()},
        {"invoke", invoke},
        {"getIDsOfNames", getIDsOfNames},
        {"getTypeInfo", getTypeInfo},
        {"getTypeInfoCount", getTypeInfoCount},
        {"queryInterface", queryInterface},
        {"addRef", addRef},
        {"release", release},
        {"typeInfoCalls", typeInfoCalls},
        {"other", other},
        {"rejected", rejected},
        {"objectsMarshalled", objectsMarshalled},
    };
    return json.dump(1) + "\n";
}

}  // namespace tav::sehost
