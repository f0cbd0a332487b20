#pragma once

#include <filesystem>
#include <optional>

namespace kavo_ui::sysdirs {

// The toolkit's home override: the value of KAVO_HOME when it is set and not empty.
std::optional<std::filesystem::path> user_home_override();

// The user's home folder: the override, else HOME, else the password database entry.
std::optional<std::filesystem::path> user_home();

}
