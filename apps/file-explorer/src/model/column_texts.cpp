#include "model/column_texts.hpp"

#include "i18n/formatters.hpp"

namespace files::model {

std::string size_text(const DirectoryEntry& entry) { return entry.is_folder ? "—" : i18n::format_bytes(entry.size); }

std::string modified_text(const DirectoryEntry& entry) { return i18n::format_modified(entry.modified); }

}
