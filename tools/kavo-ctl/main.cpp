#include "ctl_client.hpp"
#include "ctl_options.hpp"
#include "ctl_socket_discovery.hpp"

#include <cstdio>
#include <iostream>

namespace {

// 1 is reserved for an error the application itself answered with.
constexpr int k_exit_ok = 0;
constexpr int k_exit_error_reply = 1;
constexpr int k_exit_failure = 2;

int fail(const std::string& text)
{
    std::cerr << "kavo-ctl: " << text << "\n";
    return k_exit_failure;
}

std::string as_text(const nlohmann::ordered_json& value)
{
    return value.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}

int main(int argc, char** argv)
{
    auto options = kavo_ctl::parse_options(argc, argv);
    if (!options) {
        std::cerr << "kavo-ctl: " << options.error() << "\nTry 'kavo-ctl --help'.\n";
        return k_exit_failure;
    }
    if (options->help) {
        std::cout << kavo_ctl::k_usage;
        return k_exit_ok;
    }
    auto socket = options->socket ? std::expected<std::filesystem::path, std::string>(*options->socket)
                                  : kavo_ctl::find_socket();
    if (!socket)
        return fail(socket.error());
    auto reply = kavo_ctl::exchange(*socket, kavo_ctl::make_request(*options));
    if (!reply)
        return fail(reply.error());
    if (!(*reply)["ok"].get<bool>()) {
        const nlohmann::ordered_json& error = (*reply)["error"];
        std::cerr << "kavo-ctl: " << (error.is_string() ? error.get<std::string>() : as_text(error)) << "\n";
        return k_exit_error_reply;
    }
    std::cout << as_text(reply->value("result", nlohmann::ordered_json())) << "\n";
    return std::cout.flush() ? k_exit_ok : k_exit_failure;
}
