#include "platform/win/inherited_handles.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace tav::platform {
namespace {

[[noreturn]] void raise(const std::string& what, DWORD error) {
    throw std::runtime_error(what + " (error " + std::to_string(error) + ")");
}

// Console handles of the kind older consoles gave: values with the two low
// bits set that name no kernel object.
bool isConsolePseudoHandle(HANDLE handle) {
    return (reinterpret_cast<std::uintptr_t>(handle) & 3) == 3 &&
           GetFileType(handle) == FILE_TYPE_CHAR;
}

bool isInheritable(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE && (flags & HANDLE_FLAG_INHERIT) != 0;
}

}  // namespace

ProcThreadAttributeList::ProcThreadAttributeList(DWORD attributeCount) {
    SIZE_T size = 0;
    // Asked for its size first: this call fails by design and says it.
    InitializeProcThreadAttributeList(nullptr, attributeCount, 0, &size);
    storage_.resize(size);
    if (InitializeProcThreadAttributeList(get(), attributeCount, 0, &size) == FALSE) {
        raise("cannot make a process attribute list", GetLastError());
    }
}

ProcThreadAttributeList::~ProcThreadAttributeList() {
    DeleteProcThreadAttributeList(get());
}

HANDLE InheritedHandles::give(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || isConsolePseudoHandle(handle)) {
        return handle;
    }
    for (const auto& [ours, forChild] : given_) {
        if (ours == handle) {
            return forChild;
        }
    }
    HANDLE forChild = handle;
    if (!isInheritable(handle)) {
        UniqueHandle copy;
        const HANDLE self = GetCurrentProcess();
        if (DuplicateHandle(self, handle, self, copy.receive(), 0, TRUE, DUPLICATE_SAME_ACCESS) ==
            FALSE) {
            raise("cannot hand a standard handle on", GetLastError());
        }
        forChild = copies_.emplace_back(std::move(copy)).get();
    }
    given_.emplace_back(handle, forChild);
    return forChild;
}

bool InheritedHandles::prepare(STARTUPINFOEXW& startup, DWORD& creationFlags) {
    attributes_.reset();
    listed_.clear();
    for (const auto& [ours, forChild] : given_) {
        listed_.push_back(forChild);
    }
    if (listed_.empty()) {
        startup.StartupInfo.cb = sizeof startup.StartupInfo;
        startup.lpAttributeList = nullptr;
        return false;
    }
    attributes_.emplace(1);
    if (UpdateProcThreadAttribute(attributes_->get(), 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                  listed_.data(), listed_.size() * sizeof(HANDLE), nullptr,
                                  nullptr) == FALSE) {
        raise("cannot list the handles a child inherits", GetLastError());
    }
    startup.StartupInfo.cb = sizeof startup;
    startup.lpAttributeList = attributes_->get();
    creationFlags |= EXTENDED_STARTUPINFO_PRESENT;
    return true;
}

}  // namespace tav::platform
