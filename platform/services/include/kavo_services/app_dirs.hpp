#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kavo_services {

// XDG base directories. A variable holding a relative path is ignored, as the XDG rules say;
// the fallbacks are below HOME.
struct AppDirs {
    // $XDG_CONFIG_HOME/<app>, else $HOME/.config/<app>.
    static std::optional<std::filesystem::path> config(std::string_view app_name);
    // $XDG_DATA_HOME, else $HOME/.local/share.
    static std::optional<std::filesystem::path> data_dir();
    // $XDG_STATE_HOME, else $HOME/.local/state.
    static std::optional<std::filesystem::path> state_dir();
};

}
