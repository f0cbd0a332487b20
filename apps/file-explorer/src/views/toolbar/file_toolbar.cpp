#include "views/toolbar/file_toolbar.hpp"

#include "i18n/catalog.hpp"

namespace files::views {

using namespace kavo_ui;

namespace {
constexpr float k_button = 36;
constexpr float k_text_button = 104;
constexpr float k_height = 32;
constexpr float k_gap = 4;
constexpr float k_padding = 8;
}

FileToolbar::FileToolbar(PathBar& path_bar, command::RequestQueueHandle requests)
    : m_path_bar(path_bar), m_requests(std::move(requests))
{
    m_id = "toolbar";
}

void FileToolbar::update(const State& state)
{
    if (state == m_state && m_built)
        return;
    bool structure = state.view_mode != m_state.view_mode || state.archive != m_state.archive;
    m_state = state;
    if (structure || !m_built) {
        m_structure_dirty = true;
        m_built = false;
        return;
    }
    // Only enabled states changed: no new controls.
    for (auto& b : m_left) {
        if (b->id() == "files.back")
            b->set_enabled(state.back);
        else if (b->id() == "files.forward")
            b->set_enabled(state.forward);
        else if (b->id() == "files.up")
            b->set_enabled(state.up);
    }
}

void FileToolbar::add_button(std::string id, const char* label_key, std::optional<Icon> icon, bool enabled, float width,
                             bool show_label)
{
    auto button = std::make_unique<Button>(id, show_label ? i18n::t(label_key) : std::string(),
                                           [q = m_requests, id] { q->push(command::ControlActivated{id, std::nullopt}); });
    button->set_icon(icon);
    button->set_kind(Button::Kind::Flat);
    button->set_enabled(enabled);
    button->set_description(i18n::t(label_key));
    if (!show_label)
        button->set_accessible_name(i18n::t(label_key));
    bool left = id == "files.back" || id == "files.forward" || id == "files.up";
    (left ? m_left : m_right).push_back(std::move(button));
    if (!left)
        m_right_widths.push_back(width);
}

void FileToolbar::rebuild()
{
    m_left.clear();
    m_right.clear();
    m_right_widths.clear();
    m_view_toggle.reset();
    m_router.reset();
    add_button("files.back", "files-back", Icon::Back, m_state.back, k_button, false);
    if (!m_compact)
        add_button("files.forward", "files-forward", Icon::Forward, m_state.forward, k_button, false);
    add_button("files.up", "files-up", Icon::Up, m_state.up, k_button, false);
    if (!m_compact) {
        m_view_toggle = std::make_unique<ToggleGroup>(
            "files.view-mode", i18n::t("files-view-options"),
            std::vector<ToggleGroup::Segment>{{i18n::t("files-view-list"), Icon::List}, {i18n::t("files-view-grid"), Icon::Grid}});
        m_view_toggle->set_icons_only(true);
        m_view_toggle->set_selected(m_state.view_mode == model::ViewMode::Grid ? 1 : 0);
    }
    if (!m_compact && m_state.view_mode == model::ViewMode::Grid)
        add_button("files.sort_menu", "files-sort-by", std::nullopt, true, k_text_button, true);
    if (m_state.archive)
        add_button("files.archive.extract", "files-archive-extract", m_compact ? std::optional(Icon::Up) : std::nullopt, true,
                   m_compact ? k_button : k_text_button, !m_compact);
    else
        add_button("files.view_menu", "files-view-options", Icon::Menu, true, k_button, false);
    m_built = true;
}

Button* FileToolbar::button(std::string_view id)
{
    for (auto* group : {&m_left, &m_right})
        for (auto& b : *group)
            if (b->id() == id)
                return b.get();
    return nullptr;
}

std::vector<std::string> FileToolbar::control_ids() const
{
    std::vector<std::string> ids;
    for (auto& b : m_left)
        ids.push_back(b->id());
    if (m_view_toggle)
        ids.push_back(m_view_toggle->id().empty() ? "files.view-mode" : m_view_toggle->id());
    for (auto& b : m_right)
        ids.push_back(b->id());
    return ids;
}

void FileToolbar::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    bool compact = bounds.width() < k_compact_below * theme.ui_scale;
    if (compact != m_compact || !m_built) {
        // The controls depend on the width class; a change rebuilds them on the next pass.
        if (compact != m_compact && m_built)
            m_structure_dirty = true;
        m_compact = compact;
        rebuild();
    }
    float s = theme.ui_scale;
    float top = bounds.center().y - k_height * s / 2;
    float x = bounds.left + k_padding * s;
    for (auto& b : m_left) {
        b->layout(Rect::from_xywh(x, top, k_button * s, k_height * s), theme);
        x += (k_button + k_gap) * s;
    }
    float right = bounds.right - k_padding * s;
    for (size_t i = m_right.size(); i-- > 0;) {
        float w = m_right_widths[i] * s;
        m_right[i]->layout(Rect::from_xywh(right - w, top, w, k_height * s), theme);
        right -= w + k_gap * s;
    }
    if (m_view_toggle) {
        float w = m_view_toggle->measure(0, theme).width;
        m_view_toggle->layout(Rect::from_xywh(right - w, top, w, k_height * s), theme);
        m_view_toggle->set_id("files.view-mode");
        right -= w + k_gap * s;
    }
    m_path_bar.layout(Rect{x + k_gap * s, top, std::max(x + k_gap * s, right - k_gap * s), top + k_height * s}, theme);
}

std::vector<Widget*> FileToolbar::children() const
{
    std::vector<Widget*> out;
    for (auto& b : m_left)
        out.push_back(b.get());
    out.push_back(&m_path_bar);
    if (m_view_toggle)
        out.push_back(m_view_toggle.get());
    for (auto& b : m_right)
        out.push_back(b.get());
    return out;
}

void FileToolbar::draw(Painter& p, const Theme& theme)
{
    for (Widget* w : children())
        w->draw(p, theme);
    p.draw_line({m_bounds.left, m_bounds.bottom - 0.5f}, {m_bounds.right, m_bounds.bottom - 0.5f}, theme.border, 1);
}

void FileToolbar::draw_overlay(Painter& p, const Theme& theme) { m_path_bar.draw_overlay(p, theme); }

EventResult FileToolbar::handle_event(const Event& e)
{
    // An open path entry sees every event first (its completion list floats below the row).
    if (m_path_bar.editing())
        if (m_path_bar.handle_event(e) == EventResult::Handled)
            return EventResult::Handled;
    EventResult result = m_router.route(e, children());
    if (m_view_toggle)
        if (auto chosen = m_view_toggle->take_chosen())
            m_requests->push(command::ControlActivated{"files.view-mode", chosen});
    return result;
}

void FileToolbar::accessibility(std::vector<AccessNode>& out) const
{
    AccessNode toolbar;
    toolbar.role = AccessRole::Toolbar;
    toolbar.bounds = m_bounds;
    for (Widget* w : children())
        w->accessibility(toolbar.children);
    out.push_back(std::move(toolbar));
}

void FileToolbar::visit_children(const std::function<void(Widget&)>& fn)
{
    for (Widget* w : children())
        fn(*w);
}

bool FileToolbar::take_paint_dirty()
{
    bool dirty = false;
    for (Widget* w : children())
        dirty |= w->take_paint_dirty();
    return dirty;
}

}
