#pragma once

#include <locale.h>

namespace files::fileops {

// While it lives, libarchive on this thread converts member names to and from UTF-8, whatever
// the process locale is. Names in archives are UTF-8 (ZIP's flag, pax) or raw bytes, and file
// names here are UTF-8 by convention; in the C locale libarchive would otherwise refuse every
// name outside ASCII.
class Utf8NamesScope {
public:
    Utf8NamesScope();
    Utf8NamesScope(const Utf8NamesScope&) = delete;
    Utf8NamesScope& operator=(const Utf8NamesScope&) = delete;
    ~Utf8NamesScope();

private:
    locale_t m_previous = nullptr;
};

}
