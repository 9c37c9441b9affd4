// Every call that comes into the server from a client, by kind: each is one
// round trip between the processes. The dispatch calls (Invoke, name
// look-ups, type information), the COM runtime's own reference traffic
// (QueryInterface, AddRef and Release through IRemUnknown), calls on type
// information handed out, and the busy host's rejections; plus the served
// objects marshalled to clients (each travels in the reply of a call).
#pragma once

#include <windows.h>

#include <objidl.h>

#include <cstdint>
#include <string>

namespace tav::sehost {

struct RoundTrips {
    std::int64_t invoke = 0;
    std::int64_t getIDsOfNames = 0;
    std::int64_t getTypeInfo = 0;
    std::int64_t getTypeInfoCount = 0;
    std::int64_t queryInterface = 0;
    std::int64_t addRef = 0;
    std::int64_t release = 0;
    std::int64_t typeInfoCalls = 0;
    std::int64_t other = 0;
    std::int64_t rejected = 0;
    // Of them, releases (the host keeps their references), and references
    // asked for (RemAddRef: the lookup of the application, whose reference
    // Wine's client then loses track of; the host keeps one).
    std::int64_t rejectedReleases = 0;
    std::int64_t rejectedAddRefs = 0;

    // The references the host keeps because calls about them were rejected.
    std::int64_t referencesKeptByRejections() const;
    std::int64_t objectsMarshalled = 0;

    // Counts one incoming call as the message filter is told about it;
    // `onServedInterface`: the call's interface is one the host's objects
    // are served as (besides IDispatch).
    void count(const INTERFACEINFO* call, bool onServedInterface);
    std::int64_t total() const;
    // As a JSON object, one field per kind and "total".
    std::string jsonText() const;
};

// A release, or a reference asked for, through the COM runtime's remote IUnknown.
bool isReleaseCall(const INTERFACEINFO* call);
bool isAddRefCall(const INTERFACEINFO* call);
// IDispatch's method `dispatchMethod` (Invoke: invokeMethod()) on an object.
bool isDispatchCall(const INTERFACEINFO* call, bool onServedInterface, WORD dispatchMethod);
WORD invokeMethod();

}  // namespace tav::sehost
