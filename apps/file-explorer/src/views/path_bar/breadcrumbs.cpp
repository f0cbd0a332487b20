#include "views/path_bar/breadcrumbs.hpp"

#include "kavo_services/paths.hpp"

#include "i18n/catalog.hpp"
#include "kavo_services/utf8.hpp"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace files::views {

namespace {

constexpr size_t k_candidate_limit = 60;

// The crumbs for the components of path below base, appended after the first crumb.
void append_components(std::vector<Breadcrumb>& crumbs, const std::filesystem::path& base, const std::filesystem::path& path)
{
    std::filesystem::path so_far = base;
    auto rel = path.lexically_relative(base);
    if (rel.empty() || rel == ".")
        return;
    for (const auto& part : rel) {
        if (part.empty() || part == ".")
            continue;
        so_far /= part;
        crumbs.push_back({kavo_services::lossy_utf8(part), so_far});
    }
}

std::string lower(std::string_view s)
{
    std::string out;
    icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), int32_t(s.size()))).toLower(icu::Locale::getRoot()).toUTF8String(out);
    return out;
}

}

BreadcrumbTrail build_breadcrumbs(const std::filesystem::path& path, const std::optional<std::filesystem::path>& home,
                                  const std::vector<std::filesystem::path>& workspace_roots)
{
    BreadcrumbTrail trail;
    const std::filesystem::path* root = nullptr;
    for (const auto& r : workspace_roots)
        // The longest root wins; on a tie the later one.
        if (kavo_services::path_is_within(path, r) && (!root || r.native().size() >= root->native().size()))
            root = &r;
    if (root) {
        auto named = root->lexically_normal();
        if (!named.has_filename() && named != named.root_path())
            named = named.parent_path();  // "/var/workspace/" is named by "workspace"
        std::string label = kavo_services::lossy_utf8(named.filename());
        if (label.empty())
            label = i18n::t("files-place-workspace");
        trail.icon = kavo_ui::Icon::Workspace;
        trail.crumbs.push_back({label, *root});
        append_components(trail.crumbs, *root, path);
        return trail;
    }
    if (home && kavo_services::path_is_within(path, *home)) {
        trail.icon = kavo_ui::Icon::Home;
        trail.crumbs.push_back({i18n::t("files-place-home"), *home});
        append_components(trail.crumbs, *home, path);
        return trail;
    }
    trail.icon = kavo_ui::Icon::Root;
    trail.crumbs.push_back({"/", "/"});
    append_components(trail.crumbs, "/", path);
    return trail;
}

std::vector<CrumbItem> layout_breadcrumbs(const std::vector<Breadcrumb>& crumbs, const kavo_ui::Rect& bounds,
                                          const TextMeasure& measure)
{
    using kavo_ui::Rect;
    std::vector<CrumbItem> items;
    float cy = bounds.center().y;
    items.push_back({CrumbItem::Kind::Icon, Rect::from_xywh(bounds.left + 2, cy - 8, 16, 16), std::nullopt, {}});
    if (crumbs.empty())
        return items;
    float start = bounds.left + 2 + 24;
    float limit = bounds.right - 4;
    float sep_w = measure("›") + 12;
    float ellipsis_w = measure("…");
    std::vector<float> widths;
    for (const auto& c : crumbs)
        widths.push_back(measure(c.label));

    // Which crumbs show: all, or the first, "…" and the longest trailing run that fits.
    std::vector<size_t> shown;
    float total = 0;
    for (size_t i = 0; i < crumbs.size(); ++i)
        total += widths[i] + (i ? sep_w : 0);
    bool overflow = start + total > limit && crumbs.size() >= 2;
    size_t tail_from = 1;
    if (overflow) {
        float used = widths[0] + sep_w + ellipsis_w;
        size_t first_tail = crumbs.size() - 1;
        used += sep_w + widths[first_tail];
        while (first_tail > 1 && start + used + sep_w + widths[first_tail - 1] <= limit) {
            --first_tail;
            used += sep_w + widths[first_tail];
        }
        tail_from = first_tail;
    }

    float x = start;
    auto place_segment = [&](size_t i) {
        Rect r{x, bounds.top, x + widths[i], bounds.bottom};
        items.push_back({CrumbItem::Kind::Segment, r, i, Rect{r.left - 3, r.top, r.right + 3, r.bottom}});
        x = r.right;
    };
    auto place_separator = [&] {
        items.push_back({CrumbItem::Kind::Separator, Rect{x, bounds.top, x + sep_w, bounds.bottom}, std::nullopt, {}});
        x += sep_w;
    };
    place_segment(0);
    if (overflow) {
        place_separator();
        items.push_back({CrumbItem::Kind::Ellipsis, Rect{x, bounds.top, x + ellipsis_w, bounds.bottom}, std::nullopt, {}});
        x += ellipsis_w;
    }
    for (size_t i = tail_from; i < crumbs.size(); ++i) {
        place_separator();
        place_segment(i);
    }
    return items;
}

std::string display_form(const std::filesystem::path& path, const std::optional<std::filesystem::path>& home)
{
    if (home && !home->empty()) {
        if (path == *home)
            return "~";
        if (kavo_services::path_is_within(path, *home))
            return "~/" + kavo_services::lossy_utf8(path.lexically_relative(*home));
    }
    return kavo_services::lossy_utf8(path);
}

std::filesystem::path expand_typed_path(std::string_view text, const std::optional<std::filesystem::path>& home)
{
    if (home && text == "~")
        return *home;
    if (home && text.substr(0, 2) == "~/")
        return *home / std::string(text.substr(2));
    return std::filesystem::path(std::string(text));
}

std::vector<PathCandidate> completion_candidates(std::string_view text, const std::optional<std::filesystem::path>& home)
{
    std::filesystem::path folder;
    std::string prefix;
    size_t slash = text.rfind('/');
    if (text.empty() || text == "~" || slash == std::string_view::npos) {
        folder = expand_typed_path(text, home);
    } else {
        folder = expand_typed_path(text.substr(0, slash + 1), home);
        prefix = std::string(text.substr(slash + 1));
    }
    if (folder.empty())
        folder = ".";
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return {};
    }
    std::string lower_prefix = lower(prefix);
    bool dot_prefix = !prefix.empty() && prefix.front() == '.';
    struct Found {
        PathCandidate candidate;
        std::string key;
    };
    std::vector<Found> found;
    while (dirent* d = ::readdir(dir)) {
        std::string_view name(d->d_name);
        if (name == "." || name == "..")
            continue;
        if (name.front() == '.' && !dot_prefix)
            continue;
        std::string display = kavo_services::lossy_utf8(name);
        std::string key = lower(display);
        if (!lower_prefix.empty() && key.compare(0, lower_prefix.size(), lower_prefix) != 0)
            continue;
        struct stat st {};
        bool is_folder = ::fstatat(::dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        found.push_back({{display, folder / std::string(name), is_folder}, std::move(key)});
    }
    ::closedir(dir);
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.candidate.is_folder != b.candidate.is_folder)
            return a.candidate.is_folder;
        return a.key < b.key;
    });
    std::vector<PathCandidate> out;
    for (size_t i = 0; i < found.size() && i < k_candidate_limit; ++i)
        out.push_back(std::move(found[i].candidate));
    return out;
}

}
