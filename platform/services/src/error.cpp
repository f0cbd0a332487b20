#include "kavo_services/error.hpp"

#include <cstring>
#include <fmt/format.h>

namespace kavo_services {

Error Error::from_errno(int errnum)
{
    char buffer[256];
    const char* message = strerror_r(errnum, buffer, sizeof buffer);
    return {fmt::format("{} (os error {})", message, errnum), errnum};
}

Error Error::from_errno(int errnum, std::string_view context)
{
    Error e = from_errno(errnum);
    e.text = fmt::format("{}: {}", context, e.text);
    return e;
}

}
