#pragma once

#include "model/directory_entry.hpp"

namespace files::model {

// Sorts in place, stably: folders before files whatever the order, then by the key; Descending
// reverses only the key comparison, so equal entries keep their order either way.
// Name compares the full Unicode lower-case forms of the names byte by byte (file10 before
// file2), Size as unsigned numbers, Modified with an absent time before every present one, and
// Type the MIME type texts byte by byte.
void sort_entries(EntryList& entries, SortBy sort_by, SortOrder sort_order);

}
