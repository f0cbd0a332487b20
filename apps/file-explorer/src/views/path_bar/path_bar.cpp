#include "views/path_bar/path_bar.hpp"

#include "i18n/catalog.hpp"
#include "kavo_services/utf8.hpp"

namespace files::views {

using namespace kavo_ui;

PathBar::PathBar(command::RequestQueueHandle requests)
    : m_requests(std::move(requests)), m_entry("files.path_input", i18n::t("files-path-placeholder"))
{
    m_id = "path_bar";
    m_entry.set_candidate_provider([this](std::string_view text) {
        // A candidate keeps what was typed before the last "/" so the text stays as the user
        // wrote it ("~/Doc" completes to "~/Documents/").
        std::string typed_folder(text.substr(0, text.rfind('/') == std::string_view::npos ? 0 : text.rfind('/') + 1));
        std::vector<Autocomplete::Candidate> out;
        for (auto& c : completion_candidates(text, m_inputs.home))
            out.push_back({c.name, typed_folder + c.name + (c.is_folder ? "/" : ""), c.is_folder});
        return out;
    });
}

void PathBar::update(Inputs inputs)
{
    if (inputs == m_inputs)
        return;
    m_inputs = std::move(inputs);
    m_trail = build_breadcrumbs(m_inputs.current, m_inputs.home, m_inputs.workspace_roots);
    m_focus_segment.reset();
    m_hovered.reset();
    m_paint_dirty = true;
}

void PathBar::begin_edit()
{
    m_entry.begin_edit(display_form(m_inputs.current, m_inputs.home));
    m_focused = true;
    m_paint_dirty = true;
}

void PathBar::set_focus(bool focused)
{
    m_focused = focused;
    if (focused && !m_focus_segment && !m_trail.crumbs.empty())
        m_focus_segment = m_trail.crumbs.size() - 1;
    if (!focused && editing())
        m_entry.end_edit();
}

TextStyle PathBar::crumb_style(const Theme& theme) const { return {13 * theme.text_scale * theme.ui_scale, FontWeight::Medium}; }

void PathBar::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    m_theme = theme;
    TextStyle style = crumb_style(theme);
    TextStyle mark{13 * theme.ui_scale, FontWeight::Regular};
    m_items = layout_breadcrumbs(m_trail.crumbs, bounds, [&](std::string_view s) {
        return text_width(s, s == "›" || s == "…" ? mark : style);
    });
    m_entry.layout(bounds, theme);
}

void PathBar::draw(Painter& p, const Theme& theme)
{
    if (editing()) {
        m_entry.draw(p, theme);
        return;
    }
    p.fill_rounded_rect(m_bounds, theme.px(8), theme.surface_raised);
    TextStyle style = crumb_style(theme);
    TextStyle mark{13 * theme.ui_scale, FontWeight::Regular};
    for (const auto& item : m_items) {
        switch (item.kind) {
        case CrumbItem::Kind::Icon: draw_icon(p, m_trail.icon, item.rect.translated(theme.px(6), 0), theme.text_muted); break;
        case CrumbItem::Kind::Separator:
            p.draw_text(item.rect, "›", mark, theme.text_disabled, {HAlign::Center, VAlign::Middle, Elide::None});
            break;
        case CrumbItem::Kind::Ellipsis:
            p.draw_text(item.rect, "…", mark, theme.text_muted, {HAlign::Center, VAlign::Middle, Elide::None});
            break;
        case CrumbItem::Kind::Segment: {
            size_t i = *item.segment;
            bool current = i + 1 == m_trail.crumbs.size();
            Rect hit = item.hit.inset(0, theme.px(4));
            if (m_hovered == i)
                p.fill_rounded_rect(hit, theme.px(5), theme.hover);
            if (m_focused && m_focus_segment == i)
                p.stroke_rounded_rect(hit, theme.px(5), theme.focus_ring, 1);
            p.draw_text(item.rect, m_trail.crumbs[i].label, style, current ? theme.text : theme.text_muted,
                        {HAlign::Left, VAlign::Middle, Elide::End});
            break;
        }
        }
    }
}

void PathBar::draw_overlay(Painter& p, const Theme& theme)
{
    if (editing())
        m_entry.draw_overlay(p, theme);
}

std::optional<size_t> PathBar::segment_at(Point p) const
{
    for (const auto& item : m_items)
        if (item.kind == CrumbItem::Kind::Segment && item.hit.contains(p))
            return item.segment;
    return std::nullopt;
}

void PathBar::activate_segment(size_t index)
{
    if (index + 1 == m_trail.crumbs.size())
        begin_edit();
    else
        m_requests->push(command::OpenCrumb{m_trail.crumbs[index].path});
}

void PathBar::take_entry_result()
{
    auto result = m_entry.take_result();
    if (!result)
        return;
    if (result->kind == Autocomplete::Result::Submitted)
        m_requests->push(command::OpenTypedPath{expand_typed_path(result->text, m_inputs.home)});
    m_entry.end_edit();
    m_paint_dirty = true;
}

EventResult PathBar::handle_event(const Event& e)
{
    if (editing()) {
        // A press outside the entry and its list ends the edit like a cancellation.
        if (auto* pointer = std::get_if<PointerEvent>(&e); pointer && pointer->action == PointerAction::Down
            && !m_bounds.contains(pointer->position) && !(m_entry.list_open() && m_entry.list_rect().contains(pointer->position))) {
            m_entry.end_edit();
            m_paint_dirty = true;
            return EventResult::Ignored;
        }
        EventResult r = m_entry.handle_event(e);
        take_entry_result();
        return r;
    }
    if (auto* pointer = std::get_if<PointerEvent>(&e)) {
        bool inside = pointer->action != PointerAction::Leave && m_bounds.contains(pointer->position);
        auto segment = inside ? segment_at(pointer->position) : std::nullopt;
        if (segment != m_hovered) {
            m_hovered = segment;
            m_paint_dirty = true;
        }
        if (pointer->action == PointerAction::Down && pointer->button == PointerButton::Primary && inside) {
            if (segment)
                m_requests->push(command::OpenCrumb{m_trail.crumbs[*segment].path});
            else
                begin_edit();
            return EventResult::Handled;
        }
        return inside && pointer->action != PointerAction::Move ? EventResult::Handled : EventResult::Ignored;
    }
    if (auto* key = std::get_if<KeyEvent>(&e); key && m_focused)
        return handle_key(*key);
    return EventResult::Ignored;
}

EventResult PathBar::handle_key(const KeyEvent& e)
{
    if (m_trail.crumbs.empty())
        return EventResult::Ignored;
    size_t last = m_trail.crumbs.size() - 1;
    size_t focus = m_focus_segment.value_or(last);
    switch (e.key) {
    case Key::Enter: activate_segment(focus); break;
    case Key::Left: m_focus_segment = focus > 0 ? focus - 1 : 0; break;
    case Key::Right: m_focus_segment = std::min(focus + 1, last); break;
    case Key::End: m_focus_segment = last; break;
    case Key::Home: m_focus_segment = 0; break;
    default: return EventResult::Ignored;
    }
    m_paint_dirty = true;
    return EventResult::Handled;
}

void PathBar::accessibility(std::vector<AccessNode>& out) const
{
    if (editing()) {
        m_entry.accessibility(out);
        return;
    }
    AccessNode group;
    group.role = AccessRole::Group;
    group.name = i18n::t("files-a11y-breadcrumbs");
    group.bounds = m_bounds;
    for (const auto& item : m_items) {
        if (item.kind != CrumbItem::Kind::Segment)
            continue;
        size_t i = *item.segment;
        const auto& crumb = m_trail.crumbs[i];
        AccessNode node;
        node.role = AccessRole::Button;
        node.name = crumb.label;
        std::string path = kavo_services::lossy_utf8(crumb.path);
        node.description = i + 1 == m_trail.crumbs.size() ? i18n::t_args("files-a11y-current-breadcrumb", {i18n::arg("path", path)})
                                                          : i18n::t_args("files-a11y-open-folder", {i18n::arg("path", path)});
        node.bounds = item.hit;
        if (m_focused && m_focus_segment == i)
            node.states |= k_state_focused;
        node.actions = {"press"};
        group.children.push_back(std::move(node));
    }
    out.push_back(std::move(group));
}

void PathBar::visit_children(const std::function<void(Widget&)>& fn)
{
    if (editing())
        fn(m_entry);
}

bool PathBar::take_paint_dirty()
{
    bool entry = m_entry.take_paint_dirty();
    return std::exchange(m_paint_dirty, false) || entry;
}

}
