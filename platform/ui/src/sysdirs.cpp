#include "kavo_ui/sysdirs.hpp"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace kavo_ui::sysdirs {

std::optional<std::filesystem::path> user_home_override()
{
    const char* value = std::getenv("KAVO_HOME");
    if (!value || !*value)
        return std::nullopt;
    return std::filesystem::path(value);
}

std::optional<std::filesystem::path> user_home()
{
    if (auto home = user_home_override())
        return home;
    if (const char* value = std::getenv("HOME"); value && *value)
        return std::filesystem::path(value);
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir)
        return std::filesystem::path(pw->pw_dir);
    return std::nullopt;
}

}
