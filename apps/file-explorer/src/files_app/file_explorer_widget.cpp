#include "files_app/file_explorer_widget.hpp"

#include "files_app/placeholder.hpp"

#include "i18n/catalog.hpp"
#include "kavo_ui/sysdirs.hpp"
#include "kavo_ui/wake.hpp"
#include "kavo_services/app_dirs.hpp"
#include "kavo_services/utf8.hpp"
#include "native_observer/snapshot.hpp"
#include "views/file_view/zoom_file.hpp"

namespace files::app {

using namespace kavo_ui;

namespace {

std::filesystem::path thumbnail_cache_for(const std::optional<std::filesystem::path>& config_dir)
{
    if (config_dir)
        return *config_dir / "thumbnails";
    return std::filesystem::temp_directory_path() / "kavo-file-explorer-thumbnails";
}

std::vector<views::Place> system_places(const std::optional<std::filesystem::path>& trash)
{
    std::vector<views::Place> places{{i18n::t("files-place-root"), "/", false, views::PlaceKind::Root}};
    if (trash)
        places.push_back({i18n::t("files-place-trash"), *trash, false, views::PlaceKind::Trash});
    return places;
}

std::optional<std::filesystem::path> trash_location()
{
    auto data = kavo_services::AppDirs::data_dir();
    if (!data)
        return std::nullopt;
    return (*data / "Trash" / "files").lexically_normal();
}

}

FileExplorerWidget::FileExplorerWidget(std::optional<std::filesystem::path> config_dir, std::filesystem::path start_folder,
                                       Clock::time_point now, kavo_ui::UserDirs user_dirs, views::Favorites favorites)
    : m_current_dir(std::move(start_folder))
    , m_now(now)
    , m_config_dir(std::move(config_dir))
    , m_thumbnail_cache_dir(thumbnail_cache_for(m_config_dir))
    , m_requests(std::make_shared<command::RequestQueue>())
    , m_retry_button("files.retry", i18n::t("files-try-again"))
    , m_undo_button("files.undo_trash", i18n::t("files-undo-move-trash"))
    , m_spinner(28)
    , m_user_dirs(std::move(user_dirs))
    , m_favorites(std::make_shared<views::Favorites>(std::move(favorites)))
    , m_sidebar(m_favorites, system_places(trash_location()), m_requests)
    , m_path_bar(m_requests)
    , m_toolbar(m_path_bar, m_requests)
    , m_file_view(m_requests)
    , m_scroll(m_file_view)
    , m_content(m_toolbar, m_scroll, m_placeholder, m_bubble)
    , m_shell(m_sidebar, m_content)
    , m_rename_input("files.rename_input", i18n::t("files-new-name-placeholder"))
{
    m_retry_button.set_on_click([q = m_requests] { q->push(command::Retry{}); });
    m_retry_button.set_kind(Button::Kind::Accent);
    m_undo_button.set_on_click([q = m_requests] { q->push(command::ControlActivated{"files.undo_trash", std::nullopt}); });
    m_undo_button.set_kind(Button::Kind::Accent);
}

std::unique_ptr<FileExplorerWidget> FileExplorerWidget::create(std::optional<std::filesystem::path> config_dir,
                                                               std::filesystem::path start_folder, Clock::time_point now)
{
    auto dirs = kavo_ui::UserDirs::from_system();
    auto favorites = views::Favorites::load(config_dir, dirs);
    std::unique_ptr<FileExplorerWidget> w(
        new FileExplorerWidget(std::move(config_dir), std::move(start_folder), now, std::move(dirs), std::move(favorites)));
    w->m_current_dir = normalized_folder(w->m_current_dir);
    w->m_zoom = views::read_zoom(w->m_config_dir);
    w->m_thumbnails = kavo_services::ThumbnailService::create(w->m_thumbnail_cache_dir, 2, [] { kavo_ui::wake(); });
    w->publish_places();
    w->reload();
    w->m_next_poll_at = now + std::chrono::milliseconds(750);
    return w;
}

FileExplorerWidget::~FileExplorerWidget() = default;

void FileExplorerWidget::set_status(std::string text)
{
    // The limit counts characters; a cut never splits a UTF-8 sequence.
    size_t chars = 0, cut = 0;
    for (; cut < text.size(); ++cut) {
        if ((uint8_t(text[cut]) & 0xC0) != 0x80) {
            if (chars == k_status_limit)
                break;
            ++chars;
        }
    }
    text.resize(cut);
    m_status_message = std::move(text);
    mark_dirty();
}

std::string FileExplorerWidget::status_line_text() const
{
    std::string base = m_status_message ? *m_status_message
                                         : i18n::t_args("files-item-count", {i18n::count_arg("count", m_entries.size())});
    if (m_selection.empty())
        return base;
    return i18n::t_args("files-selected-count", {i18n::arg("base", base), i18n::count_arg("count", m_selection.selected_count())});
}

std::optional<std::filesystem::path> FileExplorerWidget::trash_folder() const { return trash_location(); }



void FileExplorerWidget::show_loading_state()
{
    m_loading = true;
    mark_dirty();
}

void FileExplorerWidget::show_load_error(std::string error)
{
    m_entries.clear();
    m_selection.reset(0);
    m_load_error = i18n::t_args("files-directory-read-failed", {i18n::arg("error", error)});
    mark_dirty();
}

void FileExplorerWidget::show_status_steady() { m_bubble.show_steady(); }

bool FileExplorerWidget::undo_button_shown() const { return trash_undo_available() && m_bubble.visible(); }

void FileExplorerWidget::show_pending_undo(std::filesystem::path trashed_entry)
{
    m_undo_trash = std::vector<std::filesystem::path>{std::move(trashed_entry)};
    set_status(i18n::t_args("files-moved-to-trash", {i18n::count_arg("count", 1)}));
    m_bubble.show_steady();
}

void FileExplorerWidget::set_view_mode(model::ViewMode mode)
{
    m_view_mode = mode;
    mark_dirty();
}

void FileExplorerWidget::set_zoom(int step)
{
    int clamped = views::clamp_zoom(step);
    if (clamped == m_zoom)
        return;
    m_zoom = clamped;
    views::write_zoom(m_config_dir, m_zoom);
    mark_dirty();
}

std::string FileExplorerWidget::window_title() const
{
    std::string name = kavo_services::lossy_utf8(m_current_dir.filename());
    std::string app = i18n::t("files-app-title");
    return name.empty() ? app : name + " — " + app;
}

void FileExplorerWidget::sync(const FrameContext& ctx)
{
    m_now = ctx.now;
    if (ctx.now >= m_next_poll_at) {
        m_next_poll_at = ctx.now + poll_interval(m_entries.size());
        // A refresh would move the rows under an open name field or a drag.
        if (!rename_open() && !(m_drag && m_drag->armed))
            poll_folder();
    }
    m_spinner.sync(ctx);
    m_bubble.sync(ctx);
}

void FileExplorerWidget::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    m_theme = theme;
    PlaceholderState state{m_loading, &m_load_error, m_entries.size(), in_trash(), &m_current_dir};
    auto placeholder = placeholder_for(state);
    using Body = ContentColumn::Body;
    bool empty_listing = placeholder && (placeholder->kind == PlaceholderKind::EmptyFolder || placeholder->kind == PlaceholderKind::EmptyTrash);
    m_content.set_body(!placeholder ? Body::View : empty_listing ? Body::PlaceholderOverView : Body::Placeholder);
    if (placeholder) {
        m_placeholder.set(placeholder->kind == PlaceholderKind::LoadError ? std::optional(Icon::Warning)
                          : placeholder->kind == PlaceholderKind::Loading ? std::nullopt
                          : placeholder->kind == PlaceholderKind::EmptyTrash ? std::optional(Icon::Trash)
                                                                             : std::optional(Icon::Folder),
                          placeholder->title, placeholder->detail);
        m_placeholder.set_action(placeholder->kind == PlaceholderKind::LoadError ? &m_retry_button : nullptr);
        m_spinner.set_visible(placeholder->kind == PlaceholderKind::Loading);
        m_placeholder.set_busy(placeholder->kind == PlaceholderKind::Loading ? &m_spinner : nullptr);
    } else {
        m_spinner.set_visible(false);
    }
    m_sidebar.set_current_folder(m_current_dir);
    m_path_bar.update({m_current_dir, kavo_ui::sysdirs::user_home(), m_workspace_roots});
    m_toolbar.update({!m_back.empty(), !m_forward.empty(), m_current_dir.has_relative_path(), m_view_mode, is_inside_archive()});
    // The view gets the explorer's state anew on every layout; the viewport is known only once
    // the shell has placed the scroll area, so the model is handed over around it.
    views::FileView::Model model;
    model.entries = &m_entries;
    model.selection = &m_selection;
    model.view_mode = m_view_mode;
    model.sort_by = m_sort_by;
    model.sort_order = m_sort_order;
    model.zoom = views::zoom_factor(m_zoom);
    model.focused = m_focus_area == FocusArea::View && !m_path_bar.editing();
    model.drop_target = m_file_view_drop_target;
    model.renaming = renaming_index();
    model.thumbnails = [this](const model::DirectoryEntry& e) { return thumbnail_for(e); };
    m_file_view.set_model(model);
    m_shell.layout(bounds, theme);
    model.viewport = m_scroll.viewport();
    m_file_view.set_model(std::move(model));
    if (auto renaming = renaming_index())
        m_rename_input.layout(m_file_view.rename_field_rect(*renaming, theme), theme);
    else if (m_rename_target)
        close_rename();  // the entry went away
    m_menu.layout(bounds, theme);
    m_sheet_frame.set_sheet(m_sheet ? &*m_sheet : nullptr);
    m_sheet_frame.layout(bounds, theme);
}

void FileExplorerWidget::update_bubble()
{
    std::string text = status_line_text();
    if (text == m_bubble_text)
        return;
    m_bubble_text = text;
    m_bubble.set_text(std::move(text));
    m_bubble.poke(m_now);
}

void FileExplorerWidget::draw(Painter& p, const Theme& theme)
{
    update_bubble();
    m_shell.draw(p, theme);
}

void FileExplorerWidget::draw_overlay(Painter& p, const Theme& theme)
{
    if (renaming_index()) {
        ClipScope clip(p, m_scroll.viewport());
        m_rename_input.draw(p, theme);
    }
    m_shell.draw_overlay(p, theme);
    if (undo_button_shown()) {
        Rect bubble = m_bubble.bubble_rect(theme);
        float w = m_undo_button.measure(0, theme).width;
        m_undo_button.layout(Rect::from_xywh(bubble.right + theme.px(8), bubble.top, w, bubble.height()), theme);
        OpacityScope fade(p, m_bubble.opacity());
        m_undo_button.draw(p, theme);
    }
    draw_drag(p, theme);
    m_sheet_frame.draw_overlay(p, theme);
    m_menu.draw_overlay(p, theme);
}

EventResult FileExplorerWidget::handle_event(const Event& e)
{
    if (auto* pointer = std::get_if<PointerEvent>(&e)) {
        if (pointer->action == PointerAction::Down && !m_menu.is_open() && !m_sheet) {
            // A press moves the keyboard focus to the area it lands in.
            if (m_sidebar.sidebar_bounds_contain(pointer->position, m_shell))
                set_focus_area(FocusArea::Sidebar);
            else if (m_path_bar.bounds().contains(pointer->position))
                set_focus_area(FocusArea::Breadcrumbs);
            else if (m_scroll.viewport().contains(pointer->position))
                set_focus_area(FocusArea::View);
        }
        bool over = m_bubble.visible() && m_bubble.bubble_rect(m_theme).contains(pointer->position)
            && pointer->action != PointerAction::Leave;
        m_bubble.set_hover(over, m_now);
    }
    // The Undo control floats above everything else.
    if (undo_button_shown() && std::holds_alternative<PointerEvent>(e)
        && m_undo_button.handle_event(e) == EventResult::Handled) {
        run_pending_requests();
        return EventResult::Handled;
    }
    // A drag in progress owns the pointer.
    if (auto* pointer = std::get_if<PointerEvent>(&e); pointer && m_drag && m_drag->armed) {
        EventResult handled = handle_drag(*pointer);
        if (handled == EventResult::Handled)
            return handled;
    }
    // An open menu or sheet gets every event first.
    if (m_menu.is_open() || m_sheet) {
        EventResult handled = handle_menu_and_sheet(e);
        run_pending_requests();
        return handled;
    }
    // The inline name field comes next: it takes the keys and text while open.
    if (rename_open()) {
        EventResult handled = handle_rename_event(e);
        // A plain character the field left alone comes back as text; no binding sees it.
        if (handled == EventResult::Handled || !std::holds_alternative<PointerEvent>(e))
            return handled;
    }
    EventResult result = EventResult::Ignored;
    if (auto* wheel = std::get_if<WheelEvent>(&e); wheel && wheel->modifiers.primary && wheel->dy != 0
        && m_scroll.viewport().contains(wheel->position)) {
        set_zoom(m_zoom + (wheel->dy > 0 ? 1 : -1));
        result = EventResult::Handled;
    } else if (m_path_bar.editing() && !std::holds_alternative<PointerEvent>(e)) {
        // While the path is typed, keys and text go to the entry; no binding applies.
        result = m_toolbar.handle_event(e);
        if (auto* key = std::get_if<KeyEvent>(&e); key && key->key == Key::Escape)
            result = EventResult::Handled;
    } else if (auto* key = std::get_if<KeyEvent>(&e)) {
        // The grid's own arrow keys come before the window's bindings; the sidebar and the
        // breadcrumbs take the keys while they hold the focus.
        if (m_sidebar.focused())
            result = m_sidebar.handle_event(e);
        else if (m_path_bar.focused())
            result = m_path_bar.handle_event(e);
        else if (m_content.body_mode() != ContentColumn::Body::Placeholder)
            result = m_file_view.handle_event(e);
        if (result == EventResult::Ignored)
            result = handle_key(*key);
    }
    if (result == EventResult::Ignored) {
        bool queued_before = !m_requests->empty();
        result = m_shell.handle_event(e);
        // A secondary press on the content background (no entry under it) opens the folder's menu.
        auto* pointer = std::get_if<PointerEvent>(&e);
        if (pointer && pointer->action == PointerAction::Down && pointer->button == PointerButton::Secondary && !queued_before
            && m_requests->empty() && m_scroll.viewport().contains(pointer->position)
            && m_content.body_mode() != ContentColumn::Body::Placeholder) {
            m_selection.clear();
            open_context_menu(pointer->position);
            result = EventResult::Handled;
        }
    }
    if (!m_requests->empty()) {
        run_pending_requests();
        result = EventResult::Handled;
    }
    return result;
}

void FileExplorerWidget::run_pending_requests()
{
    if (m_requests->empty())
        return;
    for (auto& request : m_requests->drain()) {
        std::visit(
            [this](auto& r) {
                using T = std::decay_t<decltype(r)>;
                if constexpr (std::is_same_v<T, command::ItemClicked>) {
                    m_selection.apply_click(r.index, r.primary, r.shift);
                } else if constexpr (std::is_same_v<T, command::PressOnItem>) {
                    press_on_item(r.path);
                } else if constexpr (std::is_same_v<T, command::ContextMenuOnItem>) {
                    if (!m_selection.is_selected(r.index))
                        m_selection.select_only(r.index);
                    open_context_menu(m_file_view.last_cursor());
                } else if constexpr (std::is_same_v<T, command::MoveSelection>) {
                    move_focus(r.index, r.extend);
                } else if constexpr (std::is_same_v<T, command::SortByColumn>) {
                    sort_by_column(r.key);
                } else if constexpr (std::is_same_v<T, command::DragStart>) {
                    begin_drag(r);
                } else if constexpr (std::is_same_v<T, command::OpenFolder> || std::is_same_v<T, command::OpenPlace>
                                     || std::is_same_v<T, command::OpenCrumb> || std::is_same_v<T, command::OpenTypedPath>) {
                    execute(cmd::OpenPath{r.path});
                } else if constexpr (std::is_same_v<T, command::ReorderFavourites>) {
                    reorder_favourites(r.from, r.to);
                } else if constexpr (std::is_same_v<T, command::FavouriteContextMenu>) {
                    open_place_menu(r.path, r.position);
                } else if constexpr (std::is_same_v<T, command::Retry>) {
                    execute(cmd::Refresh{});
                } else if constexpr (std::is_same_v<T, command::ControlActivated>) {
                    control_activated(r.action, r.index);
                }
            },
            request);
    }
    mark_dirty();
}

void FileExplorerWidget::accessibility(std::vector<AccessNode>& out) const
{
    AccessNode window;
    window.role = AccessRole::Window;
    window.name = i18n::t("files-a11y-activity");
    window.value = i18n::t_args("files-a11y-current-folder", {i18n::arg("path", kavo_services::lossy_utf8(m_current_dir))});
    window.bounds = m_bounds;
    if (m_loading)
        window.states |= k_state_busy;
    m_shell.accessibility(window.children);
    std::string path = kavo_services::lossy_utf8(m_current_dir);
    if (m_loading) {
        AccessNode loading;
        loading.role = AccessRole::Status;
        loading.name = i18n::t_args("files-loading-folder", {i18n::arg("path", path)});
        loading.states = k_state_busy;
        window.children.push_back(std::move(loading));
    } else if (m_load_error) {
        AccessNode error;
        error.role = AccessRole::Status;
        error.name = i18n::t_args("files-a11y-load-error", {i18n::arg("error", *m_load_error)});
        m_retry_button.accessibility(error.children);
        window.children.push_back(std::move(error));
    }
    if (renaming_index())
        m_rename_input.accessibility(window.children);
    if (undo_button_shown())
        m_undo_button.accessibility(window.children);
    m_sheet_frame.accessibility(window.children);
    m_menu.accessibility(window.children);
    out.push_back(std::move(window));
}

nlohmann::ordered_json FileExplorerWidget::observer_snapshot() const { return native_observer::build_snapshot(*this); }

bool FileExplorerWidget::take_structure_dirty() { return std::exchange(m_structure_dirty, false); }

bool FileExplorerWidget::take_paint_dirty()
{
    bool shell = m_shell.take_paint_dirty();
    shell |= m_rename_input.take_paint_dirty();
    shell |= m_menu.take_paint_dirty();
    return std::exchange(m_paint_dirty, false) || shell;
}

std::optional<Clock::time_point> FileExplorerWidget::next_deadline() const
{
    auto deadline = m_next_poll_at;
    if (auto bubble = m_bubble.next_deadline())
        deadline = std::min(deadline, *bubble);
    return deadline;
}

bool FileExplorerWidget::wants_animation_frame() const
{
    return m_bubble.wants_animation_frame() || (m_spinner.visible() && m_spinner.wants_animation_frame());
}

void FileExplorerWidget::visit_children(const std::function<void(Widget&)>& fn)
{
    fn(m_shell);
    if (m_menu.is_open())
        fn(m_menu);
    if (m_sheet)
        fn(m_sheet_frame);
}

}
