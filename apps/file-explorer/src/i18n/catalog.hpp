#pragma once

#include "kavo_ui/catalog.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace files::i18n {

// The catalog descriptor: the fallback locale and the two embedded sources, en-US first.
kavo_ui::CatalogDescriptor descriptor();

// The catalog for the current locale, built on first use (UI thread).
const kavo_ui::EmbeddedCatalog& catalog();
// Replaces the catalog with one for the given locale tag (start-up and tests).
void use_locale(std::string tag);

std::string t(std::string_view key);
std::string t_args(std::string_view key, const kavo_ui::CatalogArgs& args);

inline kavo_ui::CatalogArg arg(std::string name, std::string value) { return {std::move(name), std::move(value)}; }
inline kavo_ui::CatalogArg arg(std::string name, std::string_view value) { return {std::move(name), std::string(value)}; }
inline kavo_ui::CatalogArg arg(std::string name, const char* value) { return {std::move(name), std::string(value)}; }
// Counts are numbers (plural selection works on them), clamped to the largest signed 64-bit value.
inline kavo_ui::CatalogArg count_arg(std::string name, uint64_t n)
{
    return {std::move(name), int64_t(std::min<uint64_t>(n, uint64_t(std::numeric_limits<int64_t>::max())))};
}

}
