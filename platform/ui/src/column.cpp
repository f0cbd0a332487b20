#include "kavo_ui/widgets.hpp"

namespace kavo_ui {

void Column::add(Widget& child, float flex) { m_items.push_back({&child, flex}); }

void Column::add_owned(std::unique_ptr<Widget> child, float flex)
{
    m_items.push_back({child.get(), flex});
    m_owned.push_back(std::move(child));
}

void Column::clear()
{
    m_items.clear();
    m_owned.clear();
    m_router.reset();
}

Size Column::measure(float available_width, const Theme& theme)
{
    float inner = available_width - 2 * theme.px(m_padding);
    float h = 2 * theme.px(m_padding);
    for (size_t i = 0; i < m_items.size(); ++i) {
        h += m_items[i].widget->measure(inner, theme).height;
        if (i + 1 < m_items.size())
            h += theme.px(m_spacing);
    }
    return {available_width, h};
}

void Column::layout(const Rect& bounds, const Theme& theme)
{
    m_bounds = bounds;
    Rect inner = bounds.inset(theme.px(m_padding));
    std::vector<Size> sizes;
    sizes.reserve(m_items.size());
    float fixed = 0, flex_total = 0;
    for (auto& item : m_items) {
        sizes.push_back(item.widget->measure(inner.width(), theme));
        if (item.flex > 0)
            flex_total += item.flex;
        else
            fixed += sizes.back().height;
    }
    if (!m_items.empty())
        fixed += theme.px(m_spacing) * float(m_items.size() - 1);
    float leftover = std::max(0.0f, inner.height() - fixed);
    float y = inner.top;
    for (size_t i = 0; i < m_items.size(); ++i) {
        auto& item = m_items[i];
        float h = item.flex > 0 ? leftover * item.flex / flex_total : sizes[i].height;
        float w = m_align == Align::Center ? std::min(sizes[i].width, inner.width()) : inner.width();
        float x = m_align == Align::Center ? inner.center().x - w / 2 : inner.left;
        item.widget->layout(Rect::from_xywh(x, y, w, h), theme);
        y += h + theme.px(m_spacing);
    }
}

void Column::draw(Painter& p, const Theme& theme)
{
    for (auto& item : m_items)
        item.widget->draw(p, theme);
}

void Column::draw_overlay(Painter& p, const Theme& theme)
{
    for (auto& item : m_items)
        item.widget->draw_overlay(p, theme);
}

EventResult Column::handle_event(const Event& e)
{
    std::vector<Widget*> children;
    children.reserve(m_items.size());
    for (auto& item : m_items)
        children.push_back(item.widget);
    return m_router.route(e, children);
}

void Column::accessibility(std::vector<AccessNode>& out) const
{
    for (auto& item : m_items)
        item.widget->accessibility(out);
}

void Column::visit_children(const std::function<void(Widget&)>& fn)
{
    for (auto& item : m_items)
        fn(*item.widget);
}

bool Column::take_paint_dirty()
{
    bool dirty = false;
    for (auto& item : m_items)
        dirty |= item.widget->take_paint_dirty();
    return dirty;
}

}
