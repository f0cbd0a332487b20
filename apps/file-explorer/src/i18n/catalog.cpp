#include "i18n/catalog.hpp"

#include <memory>

namespace files::i18n {

namespace embedded {
extern const std::string_view catalog_en_US;
extern const std::string_view catalog_de_DE;
}

namespace {

const kavo_ui::CatalogSource k_sources[] = {
    {"en-US", embedded::catalog_en_US},
    {"de-DE", embedded::catalog_de_DE},
};

std::unique_ptr<kavo_ui::EmbeddedCatalog>& instance()
{
    static std::unique_ptr<kavo_ui::EmbeddedCatalog> catalog;
    return catalog;
}

}

kavo_ui::CatalogDescriptor descriptor() { return {"en-US", k_sources}; }

const kavo_ui::EmbeddedCatalog& catalog()
{
    auto& c = instance();
    if (!c)
        c = std::make_unique<kavo_ui::EmbeddedCatalog>(descriptor(), kavo_ui::current_locale());
    return *c;
}

void use_locale(std::string tag) { instance() = std::make_unique<kavo_ui::EmbeddedCatalog>(descriptor(), std::move(tag)); }

std::string t(std::string_view key) { return catalog().t(key); }

std::string t_args(std::string_view key, const kavo_ui::CatalogArgs& args) { return catalog().t_args(key, args); }

}
