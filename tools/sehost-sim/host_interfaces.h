// The interfaces of the host's object table, as the server describes them in
// its type library and answers to them in QueryInterface.
#pragma once

#include <windows.h>

#include <array>
#include <string_view>

#include "host/automation_ids.h"
#include "host/com/guid.h"

namespace tav::sehost {

struct HostInterface {
    std::wstring_view name;  // the type name in the type library
    host::InterfaceId iid;
};

inline constexpr std::array<HostInterface, 18> hostInterfaces{{
    {L"Application", host::dispatch::application::iid},
    {L"DraftDocument", host::dispatch::draftDocument::iid},
    {L"Sheet", host::dispatch::sheet::iid},
    {L"DrawingViews", host::dispatch::drawingViews::iid},
    {L"SelectSet", host::dispatch::selectSet::iid},
    {L"DrawingView", host::dispatch::drawingView::iid},
    {L"ModelReference", host::dispatch::modelReference::iid},
    {L"AssemblyDocument", host::dispatch::assemblyDocument::iid},
    {L"Occurrences", host::dispatch::occurrences::iid},
    {L"Occurrence", host::dispatch::occurrence::iid},
    {L"SubOccurrences", host::dispatch::subOccurrences::iid},
    {L"SubOccurrence", host::dispatch::subOccurrence::iid},
    {L"Body", host::dispatch::body::iid},
    {L"FaceStyle", host::dispatch::faceStyle::iid},
    {L"ModelMembers", host::dispatch::modelMembers::iid},
    {L"ModelMember", host::dispatch::modelMember::iid},
    {L"LineStyles", host::dispatch::lineStyles::iid},
    {L"LineStyle", host::dispatch::lineStyle::iid},
}};

// Whether `iid` is one of the host's interfaces.
inline bool isHostInterface(REFIID iid) {
    for (const HostInterface& known : hostInterfaces) {
        if (IsEqualGUID(iid, com::toGuid(known.iid))) {
            return true;
        }
    }
    return false;
}

}  // namespace tav::sehost
