#include "main/scenes.hpp"

#include "main/build_root.hpp"

#include "kavo_ui/shot_frame.hpp"

#include <charconv>
#include <cstdio>

namespace files::launch {

std::vector<std::string> scene_names()
{
    return {"archive", "archive-menu", "context-menu", "dropmove", "error",  "grid",   "history",
            "loading", "menu",         "pindrag",      "places",   "remote-account", "rename", "reorder",
            "select",  "status",       "sync",         "thumbnails", "thumbnails-fs", "undo-trash"};
}

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::optional<uint32_t> parse_side(std::string_view s)
{
    s = trim(s);
    uint32_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc{} || end != s.data() + s.size())
        return std::nullopt;
    return v;
}

// A drag in flight: files over a folder row ("dropmove"), or a folder named "Development" over
// the sidebar to pin it ("pindrag").
void show_drag_scene(const std::string& scene, app::FileExplorerWidget& w)
{
    const auto& entries = w.entries();
    if (scene == "pindrag") {
        std::filesystem::path development = w.current_dir() / "Development";
        auto favourites = w.sidebar().row_count() ? w.sidebar().row_rect(w.favorites().places().size() - 1) : kavo_ui::Rect{};
        w.show_drag({development}, {favourites.center().x, favourites.bottom + 10});
        return;
    }
    std::optional<size_t> folder, file;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].is_folder && !folder)
            folder = i;
        if (!entries[i].is_folder && !file)
            file = i;
    }
    if (!folder)
        return;
    size_t dragged = file.value_or(*folder);
    w.selection().select_only(dragged);
    auto target = w.file_view().geometry().item_rect(*folder);
    w.show_drag({entries[dragged].path}, {target.left + 120, target.center().y});
}

// Applies what a scene shows on top of the folder it opened.
void apply_scene_state(const std::string& scene, app::FileExplorerWidget& w)
{
    if (scene == "select" || scene == "context-menu" || scene == "rename") {
        size_t n = std::min<size_t>(scene == "select" ? 2 : 1, w.entries().size());
        for (size_t i = 0; i < n; ++i)
            w.selection().apply_click(i, i > 0, false);
        if (scene == "context-menu")
            w.open_context_menu_at_focus();
        if (scene == "rename" && !w.entries().empty())
            w.open_rename(0);
    } else if (scene == "dropmove" || scene == "pindrag") {
        show_drag_scene(scene, w);
    } else if (scene == "menu" || scene == "archive-menu") {
        w.open_main_menu_at_button();
    } else if (scene == "places") {
        w.shell().set_snapped_open(true);
    } else if (scene == "reorder") {
        w.sidebar().show_reorder(1, std::min<size_t>(3, w.favorites().places().size() - 1));
    } else if (scene == "status") {
        w.show_status_steady();
    } else if (scene == "undo-trash") {
        auto trash = w.trash_folder().value_or(std::filesystem::temp_directory_path() / "Trash" / "files");
        w.show_pending_undo(trash / "Notes.txt");
    } else if (scene == "loading") {
        w.show_loading_state();
    } else if (scene == "error") {
        w.show_load_error("Permission denied (os error 13)");
    }
}

}

std::optional<kavo_ui::Size> parse_shot_size(std::string_view text)
{
    size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos)
        return std::nullopt;
    auto w = parse_side(text.substr(0, x));
    auto h = parse_side(text.substr(x + 1));
    if (!w || !h)
        return std::nullopt;
    return kavo_ui::Size{float(*w), float(*h)};
}

kavo_ui::Size scene_size(const kavo_ui::LaunchArgs& args)
{
    kavo_ui::Size size = args.requested_size().value_or(kavo_ui::Size{1200, 720});
    if (auto value = args.value("--size"))
        if (auto parsed = parse_shot_size(*value))
            size = *parsed;
    return size;
}

std::expected<void, kavo_ui::LaunchError> render_scene(const kavo_ui::LaunchArgs& args)
{
    const std::string scene = args.scene().value_or("grid");
    kavo_ui::Size size = scene_size(args);
    if (size.width < 1 || size.height < 1 || size.width > 16384 || size.height > 16384)
        return std::unexpected(kavo_ui::LaunchError{"screenshot size out of range"});

    auto widget = app::FileExplorerWidget::create(config_dir(), start_folder());
    if (auto path = args.value("--path")) {
        auto folder = folder_argument(*path);
        if (!folder)
            return std::unexpected(kavo_ui::LaunchError{folder.error()});
        widget->navigate(*folder);
    }
    if (scene == "grid" || scene == "thumbnails" || scene == "thumbnails-fs")
        widget->set_view_mode(model::ViewMode::Grid);

    auto frame = kavo_ui::ShotFrame::create(size, kavo_ui::shot_theme());
    frame.sync(*widget);
    frame.layout(*widget);
    if (widget->take_structure_dirty()) {
        frame.sync(*widget);
        frame.layout(*widget);
    }
    apply_scene_state(scene, *widget);
    if (widget->take_structure_dirty())
        frame.layout(*widget);
    frame.draw(*widget);
    if (scene == "thumbnails" || scene == "thumbnails-fs") {
        // The first draw asks for the thumbnails; the second shows them.
        widget->wait_for_thumbnails();
        frame.sync(*widget);
        frame.layout(*widget);
        frame.draw(*widget);
    }
    frame.draw_overlay(*widget);
    auto written = frame.write_png(args.shot_output());
    if (!written)
        return std::unexpected(kavo_ui::LaunchError{written.error()});
    std::printf("file-explorer: wrote shot to %s\n", written->c_str());
    std::fflush(stdout);
    return {};
}

}
