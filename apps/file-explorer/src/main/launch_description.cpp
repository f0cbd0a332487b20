#include "main/launch_description.hpp"

#include "files_app/file_explorer_widget.hpp"
#include "main/app_state.hpp"
#include "main/build_root.hpp"
#include "main/scenes.hpp"

namespace files::launch {

namespace {

const kavo_ui::HistoryRegistration k_history{std::string(app::k_app_id), {{"selected-file", "Selected file"}}};

}

kavo_ui::LaunchSpec launch_description()
{
    kavo_ui::LaunchSpec spec;
    spec.app_id = std::string(app::k_app_id);
    spec.value_options = {"--size", "--path"};
    spec.switch_options = {"--open-share-stdin"};
    spec.scenes = scene_names();
    spec.history = &k_history;
    spec.build_root = [](const kavo_ui::LaunchArgs& args) -> std::expected<std::unique_ptr<kavo_ui::Widget>, kavo_ui::LaunchError> {
        auto root = build_root(args);
        if (!root)
            return std::unexpected(root.error());
        return std::unique_ptr<kavo_ui::Widget>(std::move(*root));
    };
    spec.render_scene = render_scene;
    spec.default_size = [] { return kavo_ui::Size{1280, 800}; };
    spec.open_app_state = open_app_state;
    spec.can_close = [] { return true; };
    spec.max_windows = 1;
    spec.transparent_background = false;
    spec.client_side_decorations = false;
    spec.automation_endpoint = true;
    spec.accessibility_bridge = true;
    return spec;
}

}
