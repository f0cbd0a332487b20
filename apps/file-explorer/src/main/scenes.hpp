#pragma once

#include "kavo_ui/launch.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace files::launch {

std::vector<std::string> scene_names();

// "WxH" or "WXH", blanks around each side allowed, each side an unsigned 32-bit number.
std::optional<kavo_ui::Size> parse_shot_size(std::string_view text);
// The size a scene renders at: the toolkit's requested size, else 1200 × 720, overridden by a
// valid --size value.
kavo_ui::Size scene_size(const kavo_ui::LaunchArgs& args);

std::expected<void, kavo_ui::LaunchError> render_scene(const kavo_ui::LaunchArgs& args);

}
