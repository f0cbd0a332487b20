#include "kavo_services/app_dirs.hpp"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace kavo_services {

namespace {

std::optional<std::filesystem::path> absolute_env(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || !*value || value[0] != '/')
        return std::nullopt;
    return std::filesystem::path(value);
}

std::optional<std::filesystem::path> home()
{
    if (auto h = absolute_env("HOME"))
        return h;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
        return std::filesystem::path(pw->pw_dir);
    return std::nullopt;
}

std::optional<std::filesystem::path> base_dir(const char* variable, const char* fallback_below_home)
{
    if (auto dir = absolute_env(variable))
        return dir;
    if (auto h = home())
        return *h / fallback_below_home;
    return std::nullopt;
}

}

std::optional<std::filesystem::path> AppDirs::config(std::string_view app_name)
{
    auto base = base_dir("XDG_CONFIG_HOME", ".config");
    if (!base)
        return std::nullopt;
    return *base / app_name;
}

std::optional<std::filesystem::path> AppDirs::data_dir() { return base_dir("XDG_DATA_HOME", ".local/share"); }

std::optional<std::filesystem::path> AppDirs::state_dir() { return base_dir("XDG_STATE_HOME", ".local/state"); }

}
