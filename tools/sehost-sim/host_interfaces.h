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

namespace ids = host::dispatch;

inline constexpr std::array<HostInterface, 18> hostInterfaces{{
    {L"Application", ids::application::iid},
    {L"DraftDocument", ids::draftDocument::iid},
    {L"Sheet", ids::sheet::iid},
    {L"DrawingViews", ids::drawingViews::iid},
    {L"SelectSet", ids::selectSet::iid},
    {L"DrawingView", ids::drawingView::iid},
    {L"ModelLink", ids::modelReference::iid},
    {L"AssemblyDocument", ids::assemblyDocument::iid},
    {L"Occurrences", ids::occurrences::iid},
    {L"Occurrence", ids::occurrence::iid},
    {L"SubOccurrences", ids::subOccurrences::iid},
    {L"SubOccurrence", ids::subOccurrence::iid},
    {L"Body", ids::body::iid},
    {L"FaceStyle", ids::faceStyle::iid},
    {L"ModelMembers", ids::modelMembers::iid},
    {L"ModelMember", ids::modelMember::iid},
    {L"LineStyles", ids::lineStyles::iid},
    {L"LineStyle", ids::lineStyle::iid},
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
