// The handles a started program inherits, and no others. CreateProcess is
// given them as a PROC_THREAD_ATTRIBUTE_HANDLE_LIST, so that every other
// inheritable handle of this program (a pipe made for another child, a
// handle some library made inheritable) stays out of the child: a child that
// held the write end of another child's pipe would keep that pipe from ever
// reaching its end.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "platform/win/unique_resource.h"

namespace tav::platform {

// Owns a PROC_THREAD_ATTRIBUTE_LIST with room for `attributeCount`
// attributes, from InitializeProcThreadAttributeList to
// DeleteProcThreadAttributeList. Neither copied nor moved: it is released
// once, where it was made.
class ProcThreadAttributeList {
  public:
    // Raises std::runtime_error when the list cannot be made.
    explicit ProcThreadAttributeList(DWORD attributeCount);
    ~ProcThreadAttributeList();
    ProcThreadAttributeList(const ProcThreadAttributeList&) = delete;
    ProcThreadAttributeList& operator=(const ProcThreadAttributeList&) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST get() {
        return reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    }

  private:
    std::vector<std::byte> storage_;
};

class InheritedHandles {
  public:
    InheritedHandles() = default;
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;

    // The handle the child is given for `handle`, one of this program's:
    // - null, INVALID_HANDLE_VALUE or a console pseudo-handle: itself, not
    //   listed (a pseudo-handle is no member a handle list may hold);
    // - an inheritable handle: itself, listed once however often it is given
    //   (a list that names a handle twice is refused by some Windows);
    // - any other: an inheritable copy, owned here until the child has
    //   started (a handle in the list must be inheritable).
    // Raises std::runtime_error when no copy can be made.
    HANDLE give(HANDLE handle);

    // Readies `startup` for CreateProcess: with the list of the given
    // handles and EXTENDED_STARTUPINFO_PRESENT in `creationFlags` when there
    // are any. The answer is CreateProcess's bInheritHandles: false when no
    // handle is listed (an empty list is never passed), and the child then
    // inherits nothing. The list lives as long as this object.
    bool prepare(STARTUPINFOEXW& startup, DWORD& creationFlags);

  private:
    // Each handle of ours given, with the handle the child gets for it.
    std::vector<std::pair<HANDLE, HANDLE>> given_;
    // What the list names; not changed while the list points to it.
    std::vector<HANDLE> listed_;
    std::vector<UniqueHandle> copies_;
    std::optional<ProcThreadAttributeList> attributes_;
};

}  // namespace tav::platform
