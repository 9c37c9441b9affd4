#include "tools/sehost-sim/round_trips.h"

#include <nlohmann/json.hpp>

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

bool isReleaseCall(const INTERFACEINFO* call) {
    return call != nullptr &&
           (IsEqualIID(call->iid, remUnknown) || IsEqualIID(call->iid, remUnknown2)) &&
           call->wMethod == method::remRelease;
}

bool isAddRefCall(const INTERFACEINFO* call) {
    return call != nullptr &&
           (IsEqualIID(call->iid, remUnknown) || IsEqualIID(call->iid, remUnknown2)) &&
           call->wMethod == method::remAddRef;
}

std::int64_t RoundTrips::referencesKeptByRejections() const {
    // Only unmarshalling the running-object table's reference to the
    // application asks for references: however often that is rejected, the
    // one reference it leaves is the application's.
    return rejectedReleases + (rejectedAddRefs > 0 ? 1 : 0);
}

bool isDispatchCall(const INTERFACEINFO* call, bool onServedInterface, WORD dispatchMethod) {
    return call != nullptr && call->wMethod == dispatchMethod &&
           (IsEqualIID(call->iid, IID_IDispatch) || onServedInterface);
}

WORD invokeMethod() {
    return method::invoke;
}

void RoundTrips::count(const INTERFACEINFO* call, bool onServedInterface) {
    if (call == nullptr) {
        ++other;
        return;
    }
    if (IsEqualIID(call->iid, IID_IDispatch) || onServedInterface) {
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
    if (IsEqualIID(call->iid, IID_ITypeInfo) || IsEqualIID(call->iid, IID_ITypeInfo2) ||
        IsEqualIID(call->iid, IID_ITypeComp)) {
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
        {"rejectedReleases", rejectedReleases},
        {"rejectedAddRefs", rejectedAddRefs},
        {"objectsMarshalled", objectsMarshalled},
    };
    return json.dump(1) + "\n";
}

}  // namespace tav::sehost
