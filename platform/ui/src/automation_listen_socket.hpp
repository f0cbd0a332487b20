#pragma once

#include "automation_io.hpp"

#include <expected>
#include <filesystem>
#include <string>
#include <sys/types.h>

namespace kavo_ui::automation {

struct ListenSocket {
    UniqueFd fd;  // non-blocking, listening
    // The socket file as bound, so that only this one is removed later.
    dev_t device = 0;
    ino_t inode = 0;
};

// Prepares the folder, replaces a stale socket file, binds with mode 0600 and listens.
std::expected<ListenSocket, std::string> open_listen_socket(const std::filesystem::path& path);

// Removes the socket file unless another process has replaced it meanwhile.
void remove_socket_file(const std::filesystem::path& path, const ListenSocket& socket);

}
