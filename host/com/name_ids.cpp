#include "host/com/name_ids.h"

#include "host/com/guid.h"
#include "host/com/hresult_error.h"

namespace tav::com {

using Microsoft::WRL::ComPtr;

DISPID NameIds::lookUp(IDispatch* object, std::u16string_view name) {
    std::u16string text(name);
    LPOLESTR names[1] = {reinterpret_cast<LPOLESTR>(text.data())};
    DISPID id = DISPID_UNKNOWN;
    ++lookups_;
    const HRESULT hr = calls_.run(
        [&] { return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); });
    if (FAILED(hr)) {
        throw errorFromHresult(hr);  // DISP_E_UNKNOWNNAME: 438
    }
    return id;
}

std::size_t NameIds::classOfInterface(const host::InterfaceId& iid) {
    for (std::size_t i = 0; i < classes_.size(); ++i) {
        if (classes_[i].iid == iid) {
            return i;
        }
    }
    classes_.push_back(ObjectClass{iid, nullptr, true, {}});
    return classes_.size() - 1;
}

std::optional<std::size_t> NameIds::classOfTypeInfo(IDispatch* object) {
    ComPtr<ITypeInfo> info;
    ++typeInfoRequests_;
    const HRESULT hr = calls_.run(
        [&] { return object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.GetAddressOf()); });
    ComPtr<IUnknown> identity;
    if (FAILED(hr) || !info || FAILED(info.As(&identity))) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < classes_.size(); ++i) {
        if (classes_[i].typeInfo.Get() == identity.Get()) {
            return i;
        }
    }
    classes_.push_back(ObjectClass{std::nullopt, std::move(identity), true, {}});
    return classes_.size() - 1;
}

std::optional<std::size_t> NameIds::classOf(IDispatch* object, const host::InterfaceId& iid) {
    if (iid != fromGuid(IID_IDispatch)) {
        return classOfInterface(iid);
    }
    return classOfTypeInfo(object);
}

NameIds::Found NameIds::find(ObjectNames& own, IDispatch* object, const host::InterfaceId& iid,
                             std::u16string_view name) {
    if (auto kept = own.ids.find(name); kept != own.ids.end()) {
        return {kept->second, true};
    }
    if (!own.classKnown) {
        own.classIndex = classOf(object, iid);
        own.classKnown = true;
    }
    ObjectClass* shared = nullptr;
    if (own.classIndex && classes_[*own.classIndex].shared) {
        shared = &classes_[*own.classIndex];
        if (auto kept = shared->ids.find(name); kept != shared->ids.end()) {
            own.ids.emplace(name, kept->second);
            return {kept->second, true};
        }
    }
    const DISPID id = lookUp(object, name);
    own.ids.emplace(name, id);
    if (shared != nullptr) {
        shared->ids.emplace(name, id);
    }
    return {id, false};
}

std::optional<DISPID> NameIds::refresh(ObjectNames& own, IDispatch* object,
                                       std::u16string_view name, DISPID failed) {
    const DISPID id = lookUp(object, name);
    if (id == failed) {
        return std::nullopt;  // the object really has no such member now
    }
    if (auto kept = own.ids.find(name); kept != own.ids.end()) {
        kept->second = id;
    }
    if (own.classIndex) {
        ObjectClass& objectClass = classes_[*own.classIndex];
        if (auto kept = objectClass.ids.find(name);
            kept != objectClass.ids.end() && kept->second == failed) {
            // Objects of this class do not agree on the name: stop sharing.
            objectClass.shared = false;
            objectClass.ids.clear();
        }
    }
    return id;
}

void NameIds::clear() {
    classes_.clear();
}

}  // namespace tav::com
