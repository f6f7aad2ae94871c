#pragma once

// Writes both dictionary stores into the current directory from (id, headword, entry) rows.
// Texts are UTF-8 here and stored as GBK; a row with entry == nullopt gets no entry row.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/StoreWriter.h"
#include "store/gob.h"
#include "ui/Gbk.h"

namespace testsupport {

struct FixtureRow {
  std::int64_t id;
  std::string title;                // UTF-8
  std::optional<std::string> entry;  // UTF-8 entry markup
};

inline void WriteFixtureStores(const std::vector<FixtureRow>& rows) {
  std::vector<IndexRow> index;
  std::vector<EntryRow> entries;
  for (const auto& r : rows) {
    index.push_back({r.id, ui::Gbk(r.title)});
    if (r.entry) entries.push_back({r.id, ui::Gbk(*r.entry)});
  }
  WriteIndexStore(IndexStoreName, index);
  WriteEntryStore(EntryStoreName, entries);
}

}  // namespace testsupport
