#include "engine/run_tables.h"

#include <limits>

#include "host/error.h"

namespace tav::engine {

template <class Record>
Record& RecordTable<Record>::append() {
    if (records_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw host::overflowError();
    }
    return records_.emplace_back();
}

template <class Record>
std::int16_t RecordTable<Record>::loopBound() const {
    if (records_.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
        throw host::overflowError();
    }
    return static_cast<std::int16_t>(records_.size());
}

void RunTables::clear() {
    members.clear();
    parts.clear();
}

template class RecordTable<PartRecord>;
template class RecordTable<MemberRecord>;

}  // namespace tav::engine
