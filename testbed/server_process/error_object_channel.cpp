#include "testbed/server_process/error_object_channel.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/com/automation_errors.h"
#include "platform/win/com_object.h"
#include "platform/win/exception_barrier.h"
#include "platform/win/wide_text.h"

namespace tav::serverprocess {
namespace {

using Microsoft::WRL::ComPtr;
using platform::guardComCall;

// The extension's id in the reply. {6D1E2B8A-0F4C-4E57-A3B2-9C7D5E1F8A40}
constexpr GUID extension = {
    0x6d1e2b8a, 0x0f4c, 0x4e57, {0xa3, 0xb2, 0x9c, 0x7d, 0x5e, 0x1f, 0x8a, 0x40}};

// What the reply being built on this thread carries: taken from the error
// object when COM asks for the size, written when it asks for the data.
thread_local std::vector<wchar_t> owed;

// One object for the life of the process. Its notifications return
// nothing: one that fails carries nothing, and the reply travels as it is.
class ErrorObjectChannel final : public platform::OwnedComObject<IChannelHook> {
  public:
    void STDMETHODCALLTYPE ClientGetSize(REFGUID, REFIID, ULONG* size) override { *size = 0; }
    void STDMETHODCALLTYPE ClientFillBuffer(REFGUID, REFIID, ULONG* size, void*) override {
        *size = 0;
    }
    void STDMETHODCALLTYPE ServerNotify(REFGUID, REFIID, ULONG, void*, DWORD) override {}

    void STDMETHODCALLTYPE ServerGetSize(REFGUID, REFIID, HRESULT, ULONG* size) override {
        owed.clear();
        *size = 0;
        guardComCall([&] {
            const ComPtr<IErrorInfo> info = com::takeErrorObject();
            if (!info) {
                return;
            }
            // The extension's data: the description, a NUL, the source, in UTF-16.
            const std::wstring text = platform::wideText(com::descriptionOf(*info.Get())) + L'\0' +
                                      platform::wideText(com::sourceOf(*info.Get()));
            owed.assign(text.begin(), text.end());
            *size = static_cast<ULONG>(owed.size() * sizeof(wchar_t));
        });
    }

    void STDMETHODCALLTYPE ServerFillBuffer(REFGUID, REFIID, ULONG* size, void* buffer,
                                            HRESULT) override {
        const auto bytes = static_cast<ULONG>(owed.size() * sizeof(wchar_t));
        if (buffer != nullptr && *size >= bytes) {
            std::memcpy(buffer, owed.data(), bytes);
            *size = bytes;
        } else {
            *size = 0;
        }
        owed.clear();
    }

    void STDMETHODCALLTYPE ClientNotify(REFGUID, REFIID, ULONG size, void* buffer, DWORD,
                                        HRESULT) override {
        if (buffer == nullptr || size < sizeof(wchar_t)) {
            return;
        }
        guardComCall([&] {
            const std::wstring text(static_cast<const wchar_t*>(buffer), size / sizeof(wchar_t));
            const std::size_t split = text.find(L'\0');
            std::wstring description = text.substr(0, split);
            std::wstring source =
                split == std::wstring::npos ? std::wstring() : text.substr(split + 1);
            ComPtr<ICreateErrorInfo> created;
            ComPtr<IErrorInfo> info;
            if (SUCCEEDED(CreateErrorInfo(created.GetAddressOf())) &&
                SUCCEEDED(created->SetDescription(description.data())) &&
                SUCCEEDED(created->SetSource(source.data())) && SUCCEEDED(created.As(&info))) {
                SetErrorInfo(0, info.Get());
            }
        });
    }
};

ErrorObjectChannel channel;

}  // namespace

void carryErrorObjectsAcrossProcesses() {
    const HRESULT hr = CoRegisterChannelHook(extension, &channel);
    if (FAILED(hr)) {
        throw std::runtime_error("CoRegisterChannelHook failed (" + std::to_string(hr) + ")");
    }
}

}  // namespace tav::serverprocess
