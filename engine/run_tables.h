// The two tables of a view: the parts found in the view's assembly and the
// part members the view draws. Both are cleared before each view and at
// shutdown.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/color_value.h"
#include "host/value.h"

namespace tav::engine {

struct PartRecord {
    std::u16string assemblyPath;
    std::u16string fileName;
    ColorValue color = 0;
    bool used = false;
};

struct MemberRecord {
    host::ObjectRef member;  // held until the table is cleared
    std::u16string assemblyPath;
    std::u16string fileName;
    ColorValue color = 0;
    // A reset's doing, for the report: the style each edge kind gets back
    // (empty: left as it is), and why one of ours was kept.
    std::array<std::u16string, 3> resetStyles;
    std::u16string resetNote;
};

// A table of records 1..count, in the order they were appended.
template <class Record>
class RecordTable {
  public:
    // Appends an empty record (empty text, colour 0, not used) and returns it
    // for the caller to fill field by field. Raises "Overflow" past the
    // 32-bit count.
    Record& append();
    std::int32_t count() const { return static_cast<std::int32_t>(records_.size()); }
    // 1-based, as the run counts.
    Record& at(std::int32_t position) {
        return records_.at(static_cast<std::size_t>(position - 1));
    }
    const Record& at(std::int32_t position) const {
        return records_.at(static_cast<std::size_t>(position - 1));
    }
    // The count as the bound of a loop counted in 16 bits; raises "Overflow"
    // past 32767.
    std::int16_t loopBound() const;
    // Releases every record (and the host references they hold).
    void clear() { records_ = {}; }

    const std::vector<Record>& records() const { return records_; }

  private:
    std::vector<Record> records_;
};

struct RunTables {
    RecordTable<PartRecord> parts;
    RecordTable<MemberRecord> members;

    // Before each view and at shutdown: members first, then parts, releasing
    // the host references the member records hold.
    void clear();
};

extern template class RecordTable<PartRecord>;
extern template class RecordTable<MemberRecord>;

}  // namespace tav::engine
