#include "kavo_ui/automation.hpp"

#include <cstdlib>
#include <unistd.h>

namespace kavo_ui::automation {

namespace {

// The app id becomes part of a file name; a slash would put the socket somewhere else.
std::string file_name_part(std::string_view app_id)
{
    std::string part(app_id);
    for (char& c : part) {
        if (c == '/')
            c = '_';
    }
    return part;
}

}

std::optional<std::filesystem::path> socket_path(std::string_view app_id)
{
    if (const char* explicit_path = std::getenv("KAVO_UI_AUTOMATION_SOCKET")) {
        if (!*explicit_path)
            return std::nullopt;
        return std::filesystem::path(explicit_path);
    }
    const char* runtime_dir = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime_dir || *runtime_dir != '/')
        return std::nullopt;
    std::string name = file_name_part(app_id) + "." + std::to_string(getpid()) + ".sock";
    return std::filesystem::path(runtime_dir) / "kavo-ui" / name;
}

}
