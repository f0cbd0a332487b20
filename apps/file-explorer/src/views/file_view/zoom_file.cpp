#include "views/file_view/zoom_file.hpp"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <string>

namespace files::views {

namespace {
// The file holds a few digits; anything larger is not a zoom file.
constexpr std::streamsize k_max_zoom_file = 64;
}

float zoom_factor(int step) { return 1.0f + 0.15f * float(step); }

int clamp_zoom(long long step) { return int(std::clamp<long long>(step, k_zoom_min, k_zoom_max)); }

int read_zoom(const std::optional<std::filesystem::path>& config_dir)
{
    if (!config_dir)
        return 0;
    std::ifstream in(*config_dir / "zoom", std::ios::binary);
    if (!in)
        return 0;
    std::string text(size_t(k_max_zoom_file) + 1, '\0');
    in.read(text.data(), k_max_zoom_file + 1);
    text.resize(size_t(in.gcount()));
    if (text.size() > size_t(k_max_zoom_file))
        return 0;
    auto first = text.find_first_not_of(" \t\r\n\f\v");
    if (first == std::string::npos)
        return 0;
    auto last = text.find_last_not_of(" \t\r\n\f\v");
    std::string_view v(text.data() + first, last - first + 1);
    bool negative = false;
    if (!v.empty() && (v.front() == '+' || v.front() == '-')) {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    if (v.empty())
        return 0;
    unsigned long long magnitude = 0;
    auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), magnitude);
    if (end != v.data() + v.size())
        return 0;
    // A number too large for any integer type is still a number: it clamps like "42" does.
    if (ec == std::errc::result_out_of_range)
        return negative ? k_zoom_min : k_zoom_max;
    if (ec != std::errc{})
        return 0;
    long long value = magnitude > 1000 ? 1000 : (long long)magnitude;
    return clamp_zoom(negative ? -value : value);
}

void write_zoom(const std::optional<std::filesystem::path>& config_dir, int step)
{
    if (!config_dir)
        return;
    std::error_code ec;
    std::filesystem::create_directories(*config_dir, ec);
    std::ofstream out(*config_dir / "zoom", std::ios::binary | std::ios::trunc);
    out << step;
}

}
