#include "ctl_options.hpp"

#include <string_view>

namespace kavo_ctl {

const char* const k_usage =
    "usage: kavo-ctl [--socket PATH] OP [JSON-PARAMS]\n"
    "\n"
    "Sends one request to a running Kavo application and prints the result as JSON.\n"
    "OP is one of ping, snapshot, a11y, resources, invoke, input, frame, resize,\n"
    "screenshot, search, quit; JSON-PARAMS is an object whose members go into the request,\n"
    "for example: kavo-ctl resize '{\"width\": 1280, \"height\": 800}'\n"
    "\n"
    "The socket is PATH, else $KAVO_UI_AUTOMATION_SOCKET, else the one application\n"
    "listening in $XDG_RUNTIME_DIR/kavo-ui/.\n"
    "\n"
    "Exit status: 0 when the request succeeded, 1 when the application answered with an\n"
    "error, 2 when the command line was wrong or the application could not be reached.\n";

namespace {

using Failure = std::unexpected<std::string>;

std::expected<nlohmann::ordered_json, std::string> parse_params(std::string_view text)
{
    nlohmann::ordered_json params = nlohmann::ordered_json::parse(text, nullptr, false);
    if (params.is_discarded())
        return Failure("JSON-PARAMS is not valid JSON");
    if (!params.is_object())
        return Failure("JSON-PARAMS must be a JSON object");
    if (params.contains("id") || params.contains("op"))
        return Failure("JSON-PARAMS must not set \"id\" or \"op\"");
    return params;
}

}

std::expected<Options, std::string> parse_options(int argc, const char* const* argv)
{
    Options options;
    int i = 1;
    for (; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return options;
        }
        if (arg == "--socket") {
            if (i + 1 >= argc || std::string_view(argv[i + 1]).empty())
                return Failure("--socket needs a path");
            options.socket = std::filesystem::path(argv[++i]);
        } else if (arg.starts_with("--socket=")) {
            arg.remove_prefix(std::string_view("--socket=").size());
            if (arg.empty())
                return Failure("--socket needs a path");
            options.socket = std::filesystem::path(std::string(arg));
        } else if (arg.starts_with("-")) {
            return Failure("unknown option " + std::string(arg));
        } else {
            break;
        }
    }
    if (i >= argc)
        return Failure("missing OP");
    options.op = argv[i++];
    if (i < argc) {
        auto params = parse_params(argv[i++]);
        if (!params)
            return Failure(params.error());
        options.params = std::move(*params);
    }
    if (i < argc)
        return Failure("too many arguments");
    return options;
}

nlohmann::ordered_json make_request(const Options& options)
{
    nlohmann::ordered_json request = options.params;
    request["id"] = 1;
    request["op"] = options.op;
    return request;
}

}
