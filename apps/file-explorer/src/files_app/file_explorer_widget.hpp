#pragma once

#include "command/request_queue.hpp"
#include "files_app/command.hpp"
#include "files_app/content_column.hpp"
#include "files_app/entry_actions.hpp"
#include "files_app/menus.hpp"
#include "files_app/sheet.hpp"
#include "model/directory_entry.hpp"
#include "fileops/file_clipboard.hpp"
#include "fileops/templates.hpp"
#include "kavo_services/thumbnails.hpp"
#include "kavo_trash/trash.hpp"
#include "views/favorites/favorites.hpp"
#include "views/file_view/file_view.hpp"
#include "views/path_bar/path_bar.hpp"
#include "views/places_sidebar/places_sidebar.hpp"
#include "views/toolbar/file_toolbar.hpp"

#include "kavo_actions/actions.hpp"
#include "kavo_ui/context_menu.hpp"
#include "kavo_ui/text_input.hpp"
#include "kavo_ui/selection_model.hpp"
#include "kavo_ui/widgets.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace files::app {

inline constexpr std::string_view k_app_id = "so.kavo.file-explorer";
inline constexpr size_t k_status_limit = 512;
// Effect classes of the published actions: refresh and the terminal are class 1, the other
// folder commands class 2.
inline constexpr uint8_t k_refresh_class = 1;
inline constexpr uint8_t k_folder_class = 2;
inline constexpr uint8_t k_entry_class = 2;

// One spelling per folder, so "/a/b/" and "/a/b" are the same place in the history.
std::filesystem::path normalized_folder(const std::filesystem::path& p);

// The silent refresh interval for a folder of n entries.
kavo_ui::Clock::duration poll_interval(size_t n);

// The single root widget: owns the window's state and every child widget.
class FileExplorerWidget final : public kavo_ui::Widget {
public:
    // Builds the widget and lists the start folder (a failed listing starts with no entries).
    static std::unique_ptr<FileExplorerWidget> create(std::optional<std::filesystem::path> config_dir,
                                                      std::filesystem::path start_folder,
                                                      kavo_ui::Clock::time_point now = kavo_ui::Clock::now());
    ~FileExplorerWidget() override;

    // Navigation and loading.
    void navigate(const std::filesystem::path& path);
    void go_back();
    void go_forward();
    void go_up();
    void reload();
    void poll_folder();

    // Settings and status.
    void set_status(std::string text);
    void set_view_mode(model::ViewMode mode);
    void set_sort(model::SortBy key);
    void sort_by_column(model::SortBy key);
    void set_sort_order(model::SortOrder order);
    void set_show_hidden(bool show);
    void set_zoom(int step);

    const std::filesystem::path& current_dir() const { return m_current_dir; }
    const std::vector<std::filesystem::path>& back_history() const { return m_back; }
    const std::vector<std::filesystem::path>& forward_history() const { return m_forward; }
    const model::EntryList& entries() const { return m_entries; }
    const kavo_ui::SelectionModel& selection() const { return m_selection; }
    kavo_ui::SelectionModel& selection() { return m_selection; }
    bool show_hidden() const { return m_show_hidden; }
    model::SortBy sort_by() const { return m_sort_by; }
    model::SortOrder sort_order() const { return m_sort_order; }
    model::ViewMode view_mode() const { return m_view_mode; }
    int zoom() const { return m_zoom; }
    bool loading() const { return m_loading; }
    const std::optional<std::string>& load_error() const { return m_load_error; }
    const std::optional<std::string>& status_message() const { return m_status_message; }
    bool structure_dirty() const { return m_structure_dirty; }
    uint64_t listing_generation() const { return m_listing_generation; }
    const std::optional<std::filesystem::path>& config_dir() const { return m_config_dir; }
    const std::filesystem::path& thumbnail_cache_dir() const { return m_thumbnail_cache_dir; }
    kavo_ui::Clock::time_point next_poll_at() const { return m_next_poll_at; }
    const command::RequestQueueHandle& requests() const { return m_requests; }
    const views::Favorites& favorites() const { return *m_favorites; }
    views::PlacesSidebar& sidebar() { return m_sidebar; }
    // The Trash folder this user's deleted files go to, when it can be located.
    std::optional<std::filesystem::path> trash_folder() const;
    kavo_ui::NavShell& shell() { return m_shell; }
    views::PathBar& path_bar() { return m_path_bar; }
    views::FileToolbar& toolbar() { return m_toolbar; }
    const views::FileView& file_view() const { return m_file_view; }

    // The one command execution behind every button, menu item, key, request and invocation.
    std::expected<kavo_actions::Json, std::string> execute(const Command& command);
    std::expected<kavo_actions::Json, std::string> run_entry_action(const cmd::EntryAction& action);
    std::vector<kavo_actions::Resource> resource_list() const;
    std::optional<size_t> entry_index_by_identity(std::string_view identity) const;
    FolderSituation folder_situation() const;
    bool is_inside_archive() const { return m_archive.has_value(); }
    bool clipboard_has_entries() const { return !m_clipboard.empty(); }
    const fileops::FileClipboard& clipboard() const { return m_clipboard; }
    // The inline name field: open on an entry, its index, commit and close.
    void open_rename(size_t index);
    std::optional<size_t> renaming_index() const;
    bool rename_open() const { return m_rename_target.has_value(); }
    kavo_ui::TextInput& rename_input() { return m_rename_input; }
    void commit_rename();
    void close_rename();
    // The templates New File offers, and a drop of the dragged entries onto a folder.
    std::vector<fileops::Template> templates() const;
    void drop_onto(const std::filesystem::path& target);
    // Screenshots: a drag of these paths with its pointer at a point.
    void show_drag(std::vector<std::filesystem::path> paths, kavo_ui::Point pointer);
    bool trash_undo_available() const { return m_undo_trash.has_value(); }
    std::optional<std::filesystem::path> templates_folder() const;

    // The status line: the status message or the item count, with the selection count.
    std::string status_line_text() const;
    bool in_trash() const;

    // Menus and sheets (at most one of each is open).
    void open_context_menu(kavo_ui::Point at);
    void open_main_menu(kavo_ui::Point at);
    void open_sort_menu(kavo_ui::Point at);
    void open_place_menu(const std::filesystem::path& place, kavo_ui::Point at);
    // The Menu key's placement; the main menu below the toolbar's menu button.
    void open_context_menu_at_focus() { open_context_menu(menu_key_position()); }
    void open_main_menu_at_button();
    const kavo_ui::ContextMenu& menu() const { return m_menu; }
    void open_sheet(Sheet sheet);
    void close_sheet();
    void confirm_sheet();
    const std::optional<Sheet>& sheet() const { return m_sheet; }
    MenuState menu_state() const;

    // Screenshot scenes show states the window only passes through.
    void show_loading_state();
    void show_load_error(std::string error);
    void show_status_steady();
    // Screenshots: a move to Trash that can be undone, with its status and Undo control.
    void show_pending_undo(std::filesystem::path trashed_entry);
    // Waits until every thumbnail asked for is made (screenshots of thumbnails).
    void wait_for_thumbnails();
    // Outstanding thumbnail requests; nothing when there is no thumbnail service.
    std::optional<size_t> thumbnails_pending() const;

    // Widget interface.
    void sync(const kavo_ui::FrameContext&) override;
    void layout(const kavo_ui::Rect& bounds, const kavo_ui::Theme&) override;
    void draw(kavo_ui::Painter&, const kavo_ui::Theme&) override;
    void draw_overlay(kavo_ui::Painter&, const kavo_ui::Theme&) override;
    kavo_ui::EventResult handle_event(const kavo_ui::Event&) override;
    void accessibility(std::vector<kavo_ui::AccessNode>&) const override;
    nlohmann::ordered_json observer_snapshot() const override;
    nlohmann::ordered_json resources() override;
    std::expected<nlohmann::ordered_json, std::string> invoke(const kavo_ui::ActionInvocation& call) override;
    bool take_structure_dirty() override;
    bool take_paint_dirty() override;
    std::optional<kavo_ui::Clock::time_point> next_deadline() const override;
    bool wants_animation_frame() const override;
    std::string window_title() const override;
    void visit_children(const std::function<void(kavo_ui::Widget&)>&) override;

private:
    FileExplorerWidget(std::optional<std::filesystem::path> config_dir, std::filesystem::path start_folder,
                       kavo_ui::Clock::time_point now, kavo_ui::UserDirs user_dirs, views::Favorites favorites);

    std::expected<model::EntryList, std::string> list_current() const;
    void replace_entries(model::EntryList entries);
    void step_history(std::vector<std::filesystem::path>& from, std::vector<std::filesystem::path>& to);
    // Selection and focus remembered by path, so they survive a new order or a refresh.
    struct SelectionByPath {
        std::unordered_set<std::string> selected;
        std::optional<std::filesystem::path> focused;
        std::optional<size_t> focused_index;
    };
    SelectionByPath capture_selection() const;
    void restore_selection(const SelectionByPath& saved);
    void resort();
    void mark_dirty() { m_structure_dirty = true; }
    void run_pending_requests();
    std::expected<void, std::string> open_entry(size_t index);
    std::expected<kavo_actions::Json, std::string> add_favourite(const std::filesystem::path& folder);
    std::expected<kavo_actions::Json, std::string> remove_favourite(const std::filesystem::path& folder);
    void reorder_favourites(size_t from, size_t to);
    void publish_places() const;
    // File operations.
    void copy_to_clipboard(const std::vector<size_t>& indices, bool cut);
    void paste();
    std::optional<size_t> index_of(const std::filesystem::path& path) const;
    void show_created(const std::filesystem::path& created, const char* status_key);
    std::expected<kavo_actions::Json, std::string> new_folder(const std::string& name);
    std::expected<kavo_actions::Json, std::string> new_from_template(const std::filesystem::path& template_path);
    std::expected<kavo_actions::Json, std::string> rename_entry(size_t index, const std::string& name);
    // The Trash: moving there with an exact undo, restoring, purging and emptying.
    std::optional<std::set<std::filesystem::path>> trash_snapshot() const;
    std::vector<kavo_trash::TrashedItem> trashed_items_for(const std::vector<std::filesystem::path>& paths, std::string* error) const;
    std::vector<std::filesystem::path> paths_of(const std::vector<size_t>& indices) const;
    void delete_selection(const std::vector<size_t>& indices);
    void purge(const std::vector<std::filesystem::path>& paths);
    void undo_trash();
    void restore_selection(const std::vector<size_t>& indices);
    void empty_trash();
    void empty_trash_confirmed();
    // Thumbnails of the files being drawn, asked for on first sight.
    std::optional<kavo_ui::Image> thumbnail_for(const model::DirectoryEntry& entry);
    // Archives: browsing read-only, compressing, extracting.
    void compress(const std::vector<size_t>& indices);
    void extract(const std::vector<size_t>& indices);
    // Drag and drop of entries.
    void begin_drag(const command::DragStart& start);
    std::string drag_label() const;
    void update_drop_feedback(kavo_ui::Point p);
    kavo_ui::EventResult handle_drag(const kavo_ui::PointerEvent& e);
    void end_drag();
    void draw_drag(kavo_ui::Painter& p, const kavo_ui::Theme& theme);
    kavo_ui::EventResult handle_rename_event(const kavo_ui::Event& e);
    void control_activated(const std::string& action, std::optional<size_t> index);
    kavo_ui::Point below(const std::string& control) const;
    void press_on_item(const std::filesystem::path& path);
    kavo_ui::EventResult handle_key(const kavo_ui::KeyEvent& key);
    kavo_ui::EventResult handle_menu_and_sheet(const kavo_ui::Event& e);
    void run_menu_command(const std::string& command);
    void open_menu(MenuItems items, kavo_ui::Point at);
    kavo_ui::Point menu_key_position() const;
    std::vector<size_t> selected_indices() const;
    kavo_ui::EventResult run_key_command(const Command& command);
    // Primary+L: the path bar becomes a path entry.
    kavo_ui::EventResult begin_location_edit();
    // Keyboard focus moves between the file view, the sidebar and the breadcrumbs.
    enum class FocusArea { View, Sidebar, Breadcrumbs };
    void set_focus_area(FocusArea area);
    void move_focus(size_t index, bool extend);
    void update_bubble();

    // Window state.
    std::filesystem::path m_current_dir;
    std::vector<std::filesystem::path> m_back;
    std::vector<std::filesystem::path> m_forward;
    model::EntryList m_entries;
    kavo_ui::SelectionModel m_selection;
    bool m_show_hidden = false;
    model::SortBy m_sort_by = model::SortBy::Name;
    model::SortOrder m_sort_order = model::SortOrder::Ascending;
    model::ViewMode m_view_mode = model::ViewMode::List;
    int m_zoom = 0;
    bool m_loading = false;
    std::optional<std::string> m_load_error;
    std::optional<std::string> m_status_message;
    bool m_structure_dirty = true;
    bool m_paint_dirty = false;
    uint64_t m_listing_generation = 0;
    kavo_ui::Clock::time_point m_next_poll_at;
    kavo_ui::Clock::time_point m_now;
    kavo_ui::Theme m_theme = kavo_ui::dark_theme();
    std::optional<std::filesystem::path> m_config_dir;
    std::filesystem::path m_thumbnail_cache_dir;
    command::RequestQueueHandle m_requests;

    // Child widgets.
    kavo_ui::Button m_retry_button;
    // Next to the status bubble while a move to Trash can be undone.
    kavo_ui::Button m_undo_button;
    bool undo_button_shown() const;
    kavo_ui::Spinner m_spinner;
    kavo_ui::UserDirs m_user_dirs;
    std::shared_ptr<views::Favorites> m_favorites;
    views::PlacesSidebar m_sidebar;
    views::PathBar m_path_bar;
    views::FileToolbar m_toolbar;
    std::vector<std::filesystem::path> m_workspace_roots;
    views::FileView m_file_view;
    kavo_ui::Scrollable m_scroll;
    kavo_ui::EmptyState m_placeholder;
    kavo_ui::StatusBubble m_bubble;
    ContentColumn m_content;
    kavo_ui::NavShell m_shell;
    // A drag of entries that started in the file view.
    struct DragState {
        std::vector<std::filesystem::path> paths;
        bool armed = false;
        kavo_ui::Point pointer;
    };
    std::optional<DragState> m_drag;
    std::optional<size_t> m_file_view_drop_target;
    // The inline name field and the entry it names.
    kavo_ui::TextInput m_rename_input;
    std::optional<std::filesystem::path> m_rename_target;
    fileops::FileClipboard m_clipboard;
    // The Trash entries the last move to Trash created, while undo can restore exactly them.
    std::optional<std::vector<std::filesystem::path>> m_undo_trash;
    // The archive the current folder runs through, and the folder inside it.
    std::optional<std::pair<std::filesystem::path, std::filesystem::path>> m_archive;
    std::unique_ptr<kavo_services::ThumbnailService> m_thumbnails;
    std::unordered_map<kavo_services::ThumbKey, kavo_ui::Image> m_thumb_images;
    FocusArea m_focus_area = FocusArea::View;
    kavo_ui::ContextMenu m_menu;
    std::optional<std::filesystem::path> m_menu_target;
    std::optional<Sheet> m_sheet;
    SheetFrame m_sheet_frame;
    bool m_pending_activation = false;
    struct LastPress {
        std::filesystem::path path;
        kavo_ui::Clock::time_point at;
    };
    std::optional<LastPress> m_last_press;
    std::string m_bubble_text;
    bool m_bubble_poke_pending = false;
};

}
