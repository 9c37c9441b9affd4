// What an object's type information declares, read for the probe's report:
// the type's name, id, kind and member counts, and the declarations of the
// members the tool uses (every function the type declares under an id, with
// its name, invoke kind, parameter and result types). Reading every function
// description is a round trip each; the probe reads them once per type.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include <optional>
#include <string>
#include <vector>

#include "host/com/call_watch.h"
#include "host/types/probe_report.h"

namespace tav::probe {

class TypeReading {
  public:
    // Asks `object` for its type information and reads its attributes.
    TypeReading(com::CallWatch& calls, IDispatch* object);

    const std::optional<hosttypes::TypeAttributes>& attributes() const { return attributes_; }
    // Why there is none: the HRESULT, or "none given".
    const std::string& problem() const { return problem_; }
    // Every function declared under `id`, in the order the type lists them.
    std::vector<hosttypes::DeclaredFunction> declaredUnder(DISPID id);

  private:
    hosttypes::DeclaredType typeOf(const TYPEDESC& type);
    void readFunctions();

    com::CallWatch& calls_;
    Microsoft::WRL::ComPtr<ITypeInfo> info_;
    std::optional<hosttypes::TypeAttributes> attributes_;
    std::string problem_;
    bool functionsRead_ = false;
    // (memid, index) of every function; descriptions read when asked for.
    std::vector<std::pair<MEMBERID, UINT>> functions_;
};

// The name of a type information (GetDocumentation), or empty.
std::string typeNameOf(com::CallWatch& calls, ITypeInfo& info);

}  // namespace tav::probe
