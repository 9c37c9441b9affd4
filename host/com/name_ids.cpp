#include "host/com/name_ids.h"

#include <cstring>

#include "host/com/hresult_error.h"

namespace tav::com {

NameIds::Key NameIds::keyOf(const host::InterfaceId& iid, std::u16string_view name) {
    std::string bytes(sizeof iid, '\0');
    std::memcpy(bytes.data(), &iid, sizeof iid);
    return {std::move(bytes), std::u16string(name)};
}

DISPID NameIds::lookUp(IDispatch* object, std::u16string_view name) const {
    std::u16string text(name);
    LPOLESTR names[1] = {reinterpret_cast<LPOLESTR>(text.data())};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = retryWhileBusy(
        busy_, [&] { return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); });
    if (FAILED(hr)) {
        throw errorFromHresult(hr);
    }
    return id;
}

NameIds::Found NameIds::find(IDispatch* object, const host::InterfaceId& iid,
                             std::u16string_view name) {
    Key key = keyOf(iid, name);
    if (auto kept = ids_.find(key); kept != ids_.end()) {
        return {kept->second, true};
    }
    DISPID id = lookUp(object, name);
    ids_.emplace(std::move(key), id);
    return {id, false};
}

DISPID NameIds::refresh(IDispatch* object, const host::InterfaceId& iid, std::u16string_view name) {
    Key key = keyOf(iid, name);
    ids_.erase(key);
    DISPID id = lookUp(object, name);
    ids_.emplace(std::move(key), id);
    return id;
}

}  // namespace tav::com
