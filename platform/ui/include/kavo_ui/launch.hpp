#pragma once

#include "kavo_ui/geometry.hpp"
#include "kavo_ui/persist.hpp"
#include "kavo_ui/widget.hpp"

#include <expected>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavo_ui {

struct LaunchError {
    std::string message;
};

struct HistorySubjectKind {
    std::string id;
    std::string label;
};

// What an application offers to the desktop's history mode.
struct HistoryRegistration {
    std::string app_id;
    std::vector<HistorySubjectKind> subjects;
};

// The command line as the toolkit understood it.
class LaunchArgs {
public:
    // Every argument after the program name, unchanged and in order.
    const std::vector<std::string>& raw() const { return m_raw; }
    const std::vector<std::string>& positional() const { return m_positional; }
    // The value of a value option (the last one given), or nothing.
    std::optional<std::string> value(std::string_view option) const;
    bool has_switch(std::string_view option) const;
    // Screenshot mode: the scene to render, where to write it, and a size the caller asked for.
    const std::optional<std::string>& scene() const { return m_scene; }
    std::filesystem::path shot_output() const;
    const std::optional<Size>& requested_size() const { return m_requested_size; }

private:
    friend struct LaunchArgsBuilder;
    std::vector<std::string> m_raw;
    std::vector<std::string> m_positional;
    std::map<std::string, std::string, std::less<>> m_values;
    std::vector<std::string> m_switches;
    std::optional<std::string> m_scene;
    std::optional<std::filesystem::path> m_shot_output;
    std::optional<Size> m_requested_size;
};

// The launch description an application hands to launch::run.
struct LaunchSpec {
    std::string app_id;
    std::vector<std::string> value_options;   // "--name VALUE" or "--name=VALUE"
    std::vector<std::string> switch_options;  // "--name"
    // Options the toolkit accepts and passes through without a meaning of its own: value options
    // that may repeat, and switches kept for compatibility.
    std::vector<std::string> repeatable_options;
    std::vector<std::string> compatibility_switches;
    std::vector<std::string> scenes;
    const HistoryRegistration* history = nullptr;

    std::function<std::expected<std::unique_ptr<Widget>, LaunchError>(const LaunchArgs&)> build_root;
    std::function<std::expected<void, LaunchError>(const LaunchArgs&)> render_scene;
    std::function<Size()> default_size;
    std::function<persist::AppState()> open_app_state;

    // Asked when the user closes the window; false keeps it open.
    std::function<bool()> can_close;
    // How many windows one process shows.
    int max_windows = 1;
    bool transparent_background = false;
    bool client_side_decorations = false;
    bool automation_endpoint = true;
    bool accessibility_bridge = true;
};

namespace launch {

// Parses the arguments against the launch description's option tables and the toolkit's own options:
// --shot SCENE, --shot-out FILE, --shot-size WxH.
std::expected<LaunchArgs, LaunchError> parse_args(const LaunchSpec& spec, const std::vector<std::string>& args);

// Runs the application until it quits: renders one scene and returns in screenshot mode,
// otherwise opens the window (a display is needed) and runs its event loop.
std::expected<void, LaunchError> run(const LaunchSpec& spec, int argc, char** argv);

}

}
