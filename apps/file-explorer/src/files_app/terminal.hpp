#pragma once

#include <expected>
#include <filesystem>
#include <string>

namespace files::app {

// Starts the program "terminal" from PATH with the folder as working directory, without waiting
// for it. The error is "could not open terminal: " and the system's message.
std::expected<void, std::string> open_terminal(const std::filesystem::path& folder);

}
