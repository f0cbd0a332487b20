#include "kavo_ui/automation.hpp"

#include "automation_quote.hpp"
#include "automation_reply.hpp"

#include <array>
#include <cmath>
#include <exception>
#include <fmt/format.h>
#include <unistd.h>
#include <utility>

namespace kavo_ui::automation {

namespace {

using json = nlohmann::ordered_json;
using Outcome = std::expected<json, std::string>;
using Failure = std::unexpected<std::string>;

Failure fail(std::string text) { return Failure(std::move(text)); }

std::expected<std::string, std::string> required_string(const json& request, const char* name)
{
    auto it = request.find(name);
    if (it == request.end())
        return fail(fmt::format("missing parameter \"{}\"", name));
    if (!it->is_string())
        return fail(fmt::format("parameter \"{}\" must be a string", name));
    return it->get<std::string>();
}

std::expected<double, std::string> number_between(const json& request, const char* name, double low, double high)
{
    auto it = request.find(name);
    if (it == request.end())
        return fail(fmt::format("missing parameter \"{}\"", name));
    if (!it->is_number() || !(it->get<double>() >= low && it->get<double>() <= high))
        return fail(fmt::format("parameter \"{}\" must be a number from {} to {}", name, low, high));
    return it->get<double>();
}

json frame_result(uint64_t frame) { return json{{"frame", frame}}; }

Outcome op_ping(const json&, HostOps& host)
{
    return json{{"app", host.app_id()}, {"pid", getpid()}};
}

Outcome op_snapshot(const json&, HostOps& host) { return host.snapshot(); }
Outcome op_a11y(const json&, HostOps& host) { return host.accessibility(); }
Outcome op_resources(const json&, HostOps& host) { return host.resources(); }
Outcome op_frame(const json&, HostOps& host) { return frame_result(host.frame()); }

Outcome op_invoke(const json& request, HostOps& host)
{
    InvokeRequest invoke;
    auto action = required_string(request, "action");
    if (!action)
        return fail(action.error());
    if (action->empty())
        return fail("parameter \"action\" must not be empty");
    invoke.action = std::move(*action);
    // The effect class is a small number the caller repeats from the published action.
    if (auto it = request.find("class"); it != request.end() && !it->is_null()) {
        if (!it->is_number_integer() || it->get<int64_t>() < 0 || it->get<int64_t>() > 255)
            return fail("parameter \"class\" must be a number from 0 to 255");
        invoke.effect_class = int(it->get<int64_t>());
    }
    invoke.payload = request.value("payload", json());
    invoke.args = request.value("args", json::object());
    if (invoke.args.is_null())
        invoke.args = json::object();
    if (!invoke.args.is_object())
        return fail("parameter \"args\" must be an object");
    return host.invoke(invoke);
}

Outcome op_input(const json& request, HostOps& host)
{
    auto it = request.find("events");
    if (it == request.end())
        return fail("missing parameter \"events\"");
    auto events = parse_events(*it);
    if (!events)
        return fail(events.error());
    return frame_result(host.input(*events));
}

Outcome op_resize(const json& request, HostOps& host)
{
    auto width = number_between(request, "width", 1, k_max_window_extent);
    if (!width)
        return fail(width.error());
    auto height = number_between(request, "height", 1, k_max_window_extent);
    if (!height)
        return fail(height.error());
    return frame_result(host.resize(float(*width), float(*height)));
}

Outcome op_screenshot(const json& request, HostOps& host)
{
    auto path = required_string(request, "path");
    if (!path)
        return fail(path.error());
    if (path->empty())
        return fail("parameter \"path\" must not be empty");
    auto written = host.screenshot(std::filesystem::path(*path));
    if (!written)
        return fail(written.error());
    return json(*written);
}

Outcome op_search(const json& request, HostOps& host)
{
    auto query = required_string(request, "query");
    if (!query)
        return fail(query.error());
    size_t limit = k_default_search_limit;
    if (auto it = request.find("limit"); it != request.end()) {
        if (!it->is_number_integer() || *it < 1 || *it > k_max_search_limit)
            return fail(fmt::format("parameter \"limit\" must be a whole number from 1 to {}", k_max_search_limit));
        limit = it->get<size_t>();
    }
    return host.search(*query, limit);
}

Outcome op_quit(const json&, HostOps& host)
{
    host.quit();
    return json();
}

struct Op {
    std::string_view name;
    Outcome (*run)(const json& request, HostOps& host);
};

constexpr std::array<Op, 11> k_ops{{
    {"ping", op_ping},
    {"snapshot", op_snapshot},
    {"a11y", op_a11y},
    {"resources", op_resources},
    {"invoke", op_invoke},
    {"input", op_input},
    {"frame", op_frame},
    {"resize", op_resize},
    {"screenshot", op_screenshot},
    {"search", op_search},
    {"quit", op_quit},
}};

Outcome run_op(const json& request, HostOps& host)
{
    if (!request.is_object())
        return fail("a request must be a JSON object");
    auto op = request.find("op");
    if (op == request.end())
        return fail("missing \"op\"");
    if (!op->is_string())
        return fail("\"op\" must be a string");
    const auto& name = op->get_ref<const std::string&>();
    for (const Op& entry : k_ops) {
        if (entry.name == name)
            return entry.run(request, host);
    }
    return fail(fmt::format("unknown op {}", quote_for_error(name)));
}

}

json dispatch(const json& request, HostOps& host)
{
    json id;
    if (request.is_object())
        id = request.value("id", json());
    Outcome outcome;
    try {
        outcome = run_op(request, host);
    } catch (const std::exception& e) {
        outcome = fail(fmt::format("internal error: {}", e.what()));
    }
    if (!outcome)
        return error_reply(std::move(id), std::move(outcome.error()));
    return ok_reply(std::move(id), std::move(*outcome));
}

}
