#include "kavo_ui/diag.hpp"

#include <string>
#include <unistd.h>

namespace kavo_ui::diag {

void write_line(std::string_view line)
{
    std::string out(line);
    out.push_back('\n');
    const char* p = out.data();
    size_t left = out.size();
    while (left > 0) {
        ssize_t n = ::write(STDERR_FILENO, p, left);
        if (n <= 0)
            return;
        p += n;
        left -= size_t(n);
    }
}

}
