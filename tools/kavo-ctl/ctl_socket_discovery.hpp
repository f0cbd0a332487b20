#pragma once

#include <expected>
#include <filesystem>
#include <string>

namespace kavo_ctl {

// The socket to use without --socket: KAVO_UI_AUTOMATION_SOCKET when it is not empty, else the
// only socket in $XDG_RUNTIME_DIR/kavo-ui/ whose process (named by <app-id>.<pid>.sock) is alive.
std::expected<std::filesystem::path, std::string> find_socket();

}
