#pragma once

#include <nlohmann/json.hpp>

#include <expected>
#include <filesystem>
#include <optional>
#include <string>

namespace kavo_ctl {

struct Options {
    bool help = false;
    std::optional<std::filesystem::path> socket;
    std::string op;
    nlohmann::ordered_json params = nlohmann::ordered_json::object();
};

extern const char* const k_usage;

// The command line, or a text that says what is wrong with it.
std::expected<Options, std::string> parse_options(int argc, const char* const* argv);

// The request line members: {"id": 1, "op": OP} plus the members of the parameters.
nlohmann::ordered_json make_request(const Options& options);

}
