#include "views/file_view/file_view.hpp"

#include "i18n/catalog.hpp"
#include "kavo_ui/icons.hpp"

#include <cmath>

namespace files::views {

using namespace kavo_ui;

FileView::FileView(command::RequestQueueHandle requests) : m_requests(std::move(requests)) { m_id = "file_view"; }

void FileView::set_model(const Model& model)
{
    m_model = model;
    if (m_hovered && *m_hovered >= count())
        m_hovered.reset();
}

float FileView::row_height() const { return 30.0f * m_scale * m_model.zoom; }

Size FileView::measure(float available_width, const Theme& theme)
{
    m_scale = theme.ui_scale;
    return {available_width, float(count()) * row_height() + theme.px(8)};
}

void FileView::layout(const Rect& bounds, const Theme& theme)
{
    m_scale = theme.ui_scale;
    m_bounds = bounds;
}

std::pair<float, float> FileView::row_span(size_t index) const
{
    float top = float(index) * row_height() + 4 * m_scale;
    return {top, top + row_height()};
}

std::optional<size_t> FileView::index_at(Point p) const
{
    if (!m_bounds.contains(p))
        return std::nullopt;
    float y = p.y - m_bounds.top - 4 * m_scale;
    if (y < 0)
        return std::nullopt;
    auto index = size_t(y / row_height());
    if (index >= count())
        return std::nullopt;
    return index;
}

void FileView::draw(Painter& p, const Theme& theme)
{
    if (!m_model.entries)
        return;
    // Only the rows inside the clip are drawn, so a 100,000-entry folder costs what a screenful does.
    Rect clip = p.clip_bounds().intersected(m_bounds);
    float h = row_height();
    float origin = m_bounds.top + theme.px(4);
    size_t first = size_t(std::max(0.0f, std::floor((clip.top - origin) / h)));
    size_t last = std::min(count(), size_t(std::max(0.0f, std::ceil((clip.bottom - origin) / h))) + 1);
    TextStyle style = theme.scaled(theme.body);
    style.size *= m_model.zoom;
    for (size_t i = first; i < last; ++i) {
        const auto& entry = (*m_model.entries)[i];
        Rect row{m_bounds.left + theme.px(8), origin + float(i) * h, m_bounds.right - theme.px(8), origin + float(i + 1) * h};
        bool selected = m_model.selection && m_model.selection->is_selected(i);
        if (selected)
            p.fill_rounded_rect(row, theme.px(6), theme.selection);
        else if (m_hovered == i)
            p.fill_rounded_rect(row, theme.px(6), theme.hover);
        if (m_model.selection && m_model.selection->focused() == i)
            p.stroke_rounded_rect(row, theme.px(6), theme.focus_ring.with_alpha(0.6f), 1);
        float icon = h * 0.7f;
        Rect icon_rect = Rect::from_xywh(row.left + theme.px(6), row.center().y - icon / 2, icon, icon);
        draw_icon(p, icon_for_path(entry.path, entry.is_folder, entry.mime_type), icon_rect, theme.text_muted);
        Rect text{icon_rect.right + theme.px(8), row.top, row.right - theme.px(8), row.bottom};
        p.draw_text(text, entry.name, style, theme.text, {HAlign::Left, VAlign::Middle, Elide::Middle});
    }
}

EventResult FileView::handle_event(const Event& e)
{
    auto* pointer = std::get_if<PointerEvent>(&e);
    if (!pointer)
        return EventResult::Ignored;
    if (pointer->action == PointerAction::Leave) {
        if (m_hovered) {
            m_hovered.reset();
            m_paint_dirty = true;
        }
        return EventResult::Ignored;
    }
    m_last_cursor = pointer->position;
    auto index = index_at(pointer->position);
    if (pointer->action == PointerAction::Move) {
        if (index != m_hovered) {
            m_hovered = index;
            m_paint_dirty = true;
        }
        return EventResult::Handled;
    }
    if (pointer->action == PointerAction::Down && pointer->button == PointerButton::Primary && index) {
        if (pointer->click_count >= 2)
            m_requests->push(command::OpenItem{*index});
        else
            m_requests->push(command::ItemClicked{*index, pointer->modifiers.primary, pointer->modifiers.shift});
        return EventResult::Handled;
    }
    return m_bounds.contains(pointer->position) ? EventResult::Handled : EventResult::Ignored;
}

void FileView::accessibility(std::vector<AccessNode>& out) const
{
    AccessNode list;
    list.role = AccessRole::List;
    list.name = i18n::t("files-a11y-list");
    list.bounds = m_bounds;
    if (m_model.entries) {
        auto focused = m_model.selection ? m_model.selection->focused() : std::nullopt;
        if (focused && *focused < count()) {
            list.value = (*m_model.entries)[*focused].name;
            list.position = std::pair{*focused + 1, count()};
        }
        list.children.reserve(count());
        for (size_t i = 0; i < count(); ++i) {
            const auto& entry = (*m_model.entries)[i];
            AccessNode item;
            item.role = AccessRole::ListItem;
            item.name = entry.name;
            auto [top, bottom] = row_span(i);
            item.bounds = {m_bounds.left, m_bounds.top + top, m_bounds.right, m_bounds.top + bottom};
            if (m_model.selection && m_model.selection->is_selected(i))
                item.states |= k_state_selected;
            if (focused == i)
                item.states |= k_state_focused;
            item.position = std::pair{i + 1, count()};
            list.children.push_back(std::move(item));
        }
    }
    out.push_back(std::move(list));
}

}
