#pragma once

#include "files_app/file_explorer_widget.hpp"
#include "kavo_ui/launch.hpp"

#include <expected>
#include <memory>

namespace files::launch {

// The configuration folder and the start folder every window starts from.
std::optional<std::filesystem::path> config_dir();
std::filesystem::path start_folder();

// Turns a command-line folder into an absolute path: file:// URIs (as desktop launchers pass
// them) are decoded, other arguments are taken relative to the current directory.
std::expected<std::filesystem::path, std::string> folder_argument(const std::string& arg);

std::expected<std::unique_ptr<app::FileExplorerWidget>, kavo_ui::LaunchError> build_root(const kavo_ui::LaunchArgs& args);

}
