// An owned BSTR, on the project's one owner of handles: freed exactly once,
// when the owner goes away or is reset.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>
#include <string_view>

#include "platform/win/unique_resource.h"

namespace tav::com {

using UniqueBstr = platform::UniqueResource<platform::ReleasedBy<BSTR, &SysFreeString>>;

// A copy of `text`; raises std::bad_alloc when the system has no memory.
UniqueBstr bstrOf(std::u16string_view text);

// The text of `bstr`; a null BSTR is the empty string, as automation treats it.
std::u16string textOf(BSTR bstr);

}  // namespace tav::com
