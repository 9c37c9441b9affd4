// The one place where the tool calls IDispatch::Invoke. The calling rules, as
// automation clients follow them:
// - a get (an item fetch through the default member included) is
//   DISPATCH_PROPERTYGET | DISPATCH_METHOD, a method DISPATCH_METHOD, a put
//   DISPATCH_PROPERTYPUT with its value as the one named argument
//   DISPID_PROPERTYPUT;
// - arguments go in reverse order (the last one first in DISPPARAMS);
// - each argument has the automation type its Value holds (16-bit indexes,
//   VARIANT_BOOL, Longs, BSTR, arrays of doubles with their lower bound);
//   a by-reference argument is passed as VT_BYREF to storage of that type and
//   read back into the caller's Value after the call; where the member's
//   type information declares the parameter (a VARIANT*, a SAFEARRAY(T)*, a
//   pointer to a scalar), in that form instead, as an early-bound client
//   passes it: a host whose Invoke follows its type information refuses
//   any other, or writes its answer into the VARIANT it was given;
// - a call that the host rejects as busy is tried again (call_watch.h); all
//   the tries are one host call;
// - a failure becomes AutomationError (automation_errors.h), its description
//   taken from the EXCEPINFO or from the error object.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <span>

#include "host/com/call_watch.h"
#include "host/com/classes_seen.h"
#include "host/com/variant_value.h"
#include "host/value.h"

namespace tav::com {

struct CallConventions {
    CallWatch& calls;
    DispatchToObject wrapResult;
    ObjectToDispatch unwrapArgument;
};

// One host call of `member` on `object`, which the tool holds as `iid`;
// `forms`: the declared forms of the by-reference arguments (empty: each in
// its own type). Raises AutomationError.
host::Value callDispatch(IDispatch* object, REFIID iid, DISPID member, host::CallKind kind,
                         std::span<host::Argument> args, const CallConventions& conventions,
                         const ArgumentForms& forms = {});

}  // namespace tav::com
