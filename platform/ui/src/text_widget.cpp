#include "kavo_ui/widgets.hpp"

namespace kavo_ui {

Text::Text(std::string text, TextStyle style, std::optional<Color> color)
    : m_text(std::move(text)), m_style(style), m_color(color)
{
}

void Text::set_text(std::string text)
{
    if (m_text == text)
        return;
    m_text = std::move(text);
}

Size Text::measure(float available_width, const Theme& theme)
{
    return {available_width, line_height(theme.scaled(m_style))};
}

void Text::draw(Painter& p, const Theme& theme)
{
    p.draw_text(m_bounds, m_text, theme.scaled(m_style), m_color.value_or(theme.text), m_layout);
}

void Text::accessibility(std::vector<AccessNode>& out) const
{
    AccessNode node;
    node.role = m_role;
    node.name = m_text;
    node.bounds = m_bounds;
    out.push_back(std::move(node));
}

}
