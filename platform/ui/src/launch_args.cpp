#include "kavo_ui/launch.hpp"

#include <algorithm>
#include <charconv>

namespace kavo_ui {

// The parser fills LaunchArgs through this friend, so the record stays read-only for everyone else.
struct LaunchArgsBuilder {
    static std::expected<LaunchArgs, LaunchError> parse(const LaunchSpec& spec, const std::vector<std::string>& raw);
};

std::optional<std::string> LaunchArgs::value(std::string_view option) const
{
    auto it = m_values.find(option);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

bool LaunchArgs::has_switch(std::string_view option) const
{
    return std::find(m_switches.begin(), m_switches.end(), option) != m_switches.end();
}

std::filesystem::path LaunchArgs::shot_output() const
{
    if (m_shot_output)
        return *m_shot_output;
    return std::filesystem::path(".") / (m_scene.value_or("shot") + ".png");
}

namespace launch {

namespace {

bool listed(const std::vector<std::string>& list, std::string_view name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}

std::optional<Size> parse_size(std::string_view text)
{
    size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos)
        return std::nullopt;
    unsigned w = 0, h = 0;
    auto a = std::from_chars(text.data(), text.data() + x, w);
    auto b = std::from_chars(text.data() + x + 1, text.data() + text.size(), h);
    if (a.ec != std::errc{} || a.ptr != text.data() + x || b.ec != std::errc{} || b.ptr != text.data() + text.size())
        return std::nullopt;
    if (w == 0 || h == 0 || w > 16384 || h > 16384)
        return std::nullopt;
    return Size{float(w), float(h)};
}

std::string joined(const std::vector<std::string>& names)
{
    std::string out;
    for (const auto& n : names) {
        if (!out.empty())
            out += ", ";
        out += n;
    }
    return out;
}

}

}

std::expected<LaunchArgs, LaunchError> LaunchArgsBuilder::parse(const LaunchSpec& spec, const std::vector<std::string>& raw)
{
    using namespace launch;
    struct {
        LaunchArgs args;
    } b;
    b.args.m_raw = raw;
    const std::vector<std::string> toolkit_values = {"--shot", "--shot-out", "--shot-size"};
    bool options_done = false;
    for (size_t i = 0; i < raw.size(); ++i) {
        const std::string& arg = raw[i];
        if (options_done || arg == "-" || !arg.starts_with("--")) {
            b.args.m_positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options_done = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inline_value;
        if (size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            inline_value = arg.substr(eq + 1);
        }
        bool takes_value = listed(spec.value_options, name) || listed(spec.repeatable_options, name)
            || listed(toolkit_values, name);
        bool is_switch = listed(spec.switch_options, name) || listed(spec.compatibility_switches, name);
        if (is_switch) {
            if (inline_value)
                return std::unexpected(LaunchError{"option " + name + " takes no value"});
            b.args.m_switches.push_back(name);
            continue;
        }
        if (!takes_value)
            return std::unexpected(LaunchError{"unknown option " + name});
        std::string value;
        if (inline_value) {
            value = *inline_value;
        } else {
            if (i + 1 >= raw.size())
                return std::unexpected(LaunchError{"option " + name + " needs a value"});
            value = raw[++i];
        }
        if (name == "--shot") {
            if (!listed(spec.scenes, value))
                return std::unexpected(LaunchError{"unknown scene " + value + "; scenes: " + joined(spec.scenes)});
            b.args.m_scene = value;
        } else if (name == "--shot-out") {
            b.args.m_shot_output = std::filesystem::path(value);
        } else if (name == "--shot-size") {
            auto size = parse_size(value);
            if (!size)
                return std::unexpected(LaunchError{"--shot-size takes WIDTHxHEIGHT, got " + value});
            b.args.m_requested_size = size;
        } else {
            b.args.m_values[name] = value;
        }
    }
    return b.args;
}

std::expected<LaunchArgs, LaunchError> launch::parse_args(const LaunchSpec& spec, const std::vector<std::string>& raw)
{
    return LaunchArgsBuilder::parse(spec, raw);
}

}
