#include "fileops/utf8_names_scope.hpp"

namespace files::fileops {

namespace {

// The process locale (as set at start-up) with UTF-8 character handling, so that messages and
// the rest stay as they were. Made once and kept for the life of the process; nullptr where the
// C library lacks C.UTF-8.
locale_t utf8_ctype()
{
    static locale_t locale = [] {
        locale_t base = ::duplocale(LC_GLOBAL_LOCALE);
        if (!base)
            return locale_t(nullptr);
        locale_t made = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", base);
        if (!made)
            ::freelocale(base);
        return made;
    }();
    return locale;
}

}

Utf8NamesScope::Utf8NamesScope()
{
    if (locale_t utf8 = utf8_ctype())
        m_previous = ::uselocale(utf8);
}

Utf8NamesScope::~Utf8NamesScope()
{
    if (m_previous)
        ::uselocale(m_previous);
}

}
