#pragma once

#include "kavo_ui/geometry.hpp"
#include "kavo_ui/icons.hpp"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace files::views {

struct Breadcrumb {
    std::string label;
    std::filesystem::path path;
    bool operator==(const Breadcrumb&) const = default;
};

struct BreadcrumbTrail {
    std::vector<Breadcrumb> crumbs;  // the last one is the current folder
    kavo_ui::Icon icon;              // workspace, root or home
};

// The crumbs of a path: from the innermost workspace root that holds it, else from home, else
// from "/".
BreadcrumbTrail build_breadcrumbs(const std::filesystem::path& path, const std::optional<std::filesystem::path>& home,
                                  const std::vector<std::filesystem::path>& workspace_roots);

// One placed piece of the breadcrumb row.
struct CrumbItem {
    enum class Kind { Icon, Segment, Separator, Ellipsis } kind;
    kavo_ui::Rect rect;
    std::optional<size_t> segment;  // index into the crumbs, for segments
    kavo_ui::Rect hit;              // for segments: the text widened by 3 px each side
};

using TextMeasure = std::function<float(std::string_view)>;

// Places the icon and the crumbs in bounds. When they do not all fit, the row keeps the first
// crumb, an ellipsis and the longest run of trailing crumbs that fits; the current folder always
// shows.
std::vector<CrumbItem> layout_breadcrumbs(const std::vector<Breadcrumb>& crumbs, const kavo_ui::Rect& bounds,
                                          const TextMeasure& measure);

// "~" for home, "~/rest" below it, else the path itself.
std::string display_form(const std::filesystem::path& path, const std::optional<std::filesystem::path>& home);
// "~" and "~/…" become home; anything else, "~name/…" included, is taken literally.
std::filesystem::path expand_typed_path(std::string_view text, const std::optional<std::filesystem::path>& home);

struct PathCandidate {
    std::string name;
    std::filesystem::path path;
    bool is_folder;
};

// Entries of the folder part of the text whose names start with the typed prefix (lower-cased),
// dot names only for a dot prefix, folders first, at most 60.
std::vector<PathCandidate> completion_candidates(std::string_view text, const std::optional<std::filesystem::path>& home);

}
