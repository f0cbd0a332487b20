#pragma once

#include <filesystem>
#include <optional>

namespace files::views {

inline constexpr int k_zoom_min = -2;
inline constexpr int k_zoom_max = 6;

// The item size factor of a zoom step: 1 + 0.15 × step.
float zoom_factor(int step);
int clamp_zoom(long long step);

// Reads the "zoom" file of the configuration folder: trimmed, an optional sign, decimal digits,
// clamped to −2…6. A missing, unreadable or unparsable file gives 0.
int read_zoom(const std::optional<std::filesystem::path>& config_dir);
// Stores the step as decimal text without a newline, creating the folder; failures are ignored.
void write_zoom(const std::optional<std::filesystem::path>& config_dir, int step);

}
