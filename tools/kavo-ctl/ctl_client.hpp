#pragma once

#include <nlohmann/json.hpp>

#include <expected>
#include <filesystem>
#include <string>

namespace kavo_ctl {

// Sends the request as one line and returns the reply line, parsed; a text when the
// application cannot be reached or does not answer properly.
std::expected<nlohmann::ordered_json, std::string> exchange(const std::filesystem::path& socket_path,
                                                    const nlohmann::ordered_json& request);

}
