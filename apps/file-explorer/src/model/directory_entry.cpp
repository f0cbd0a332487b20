#include "model/directory_entry.hpp"

namespace files::model {

const char* to_string(SortBy v)
{
    switch (v) {
    case SortBy::Name: return "Name";
    case SortBy::Size: return "Size";
    case SortBy::Modified: return "Modified";
    case SortBy::Type: return "Type";
    }
    return "Name";
}

const char* to_string(SortOrder v) { return v == SortOrder::Descending ? "Descending" : "Ascending"; }

const char* to_string(ViewMode v) { return v == ViewMode::Grid ? "Grid" : "List"; }

}
