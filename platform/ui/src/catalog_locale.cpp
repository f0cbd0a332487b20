#include "kavo_ui/catalog.hpp"

#include <cstdlib>

namespace kavo_ui {

std::string locale_tag_from_posix(std::string_view value)
{
    // language[_territory][.codeset][@modifier] → language-TERRITORY
    std::string_view v = value.substr(0, value.find_first_of(".@"));
    if (v.empty() || v == "C" || v == "POSIX")
        return {};
    std::string tag(v);
    for (char& c : tag)
        if (c == '_')
            c = '-';
    for (char c : tag)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'))
            return {};
    return tag;
}

std::string current_locale()
{
    for (const char* name : {"KAVO_UI_LOCALE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return locale_tag_from_posix(value);
    }
    return {};
}

}
