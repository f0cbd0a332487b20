#include "files_app/sheet.hpp"

#include "i18n/catalog.hpp"

#include <algorithm>

namespace files::app {

using namespace kavo_ui;

namespace {
constexpr size_t k_counted_lines = 14;
}

SheetGeometry sheet_geometry(const Sheet& sheet, const Rect& window)
{
    float width = std::clamp(window.width(), 320.0f, 680.0f) - 32;
    float content = sheet.details.empty() ? 143.0f : 116.0f + 27.0f * float(std::min(sheet.details.size(), k_counted_lines));
    if (sheet.confirm)
        content += 58;
    float height = std::max(std::min(content, window.height() - 32), 180.0f);
    Rect r = Rect::from_xywh(window.center().x - width / 2, window.center().y - height / 2, width, height);
    SheetGeometry g{r, Rect{r.right - 48, r.top + 6, r.right - 8, r.top + 46}, std::nullopt, content};
    if (sheet.confirm)
        g.confirm_button = Rect{r.right - 24 - 160, r.bottom - 16 - 36, r.right - 24, r.bottom - 16};
    return g;
}

void SheetFrame::layout(const Rect& bounds, const Theme&)
{
    m_bounds = bounds;
    if (m_sheet)
        m_geometry = sheet_geometry(*m_sheet, bounds);
}

void SheetFrame::draw_overlay(Painter& p, const Theme& theme)
{
    if (!m_sheet)
        return;
    const auto& g = m_geometry;
    p.fill_rect(m_bounds, Color{0, 0, 0, 140});
    p.fill_rounded_rect(g.sheet.translated(0, 4), 14, theme.shadow);
    p.fill_rounded_rect(g.sheet, 14, theme.panel);
    p.stroke_rounded_rect(g.sheet, 14, theme.border, 1);

    Rect close = g.close_button.inset(10);
    Path cross;
    cross.move_to({close.left, close.top}).line_to({close.right, close.bottom});
    cross.move_to({close.right, close.top}).line_to({close.left, close.bottom});
    p.stroke_path(cross, theme.text_muted, 1.8f);

    float left = g.sheet.left + 24, right = g.sheet.right - 56;
    float y = g.sheet.top + 22;
    p.draw_text({left, y, right, y + 26}, m_sheet->title, theme.headline, theme.text, {HAlign::Left, VAlign::Middle, Elide::End});
    y += 34;
    p.draw_text({left, y, g.sheet.right - 24, y + 22}, m_sheet->summary, theme.body, theme.text_muted,
                {HAlign::Left, VAlign::Middle, Elide::End});
    y += 34;
    float limit = (g.confirm_button ? g.confirm_button->top - 12 : g.sheet.bottom - 16);
    {
        ClipScope clip(p, Rect{g.sheet.left, y, g.sheet.right, limit});
        for (const auto& line : m_sheet->details) {
            if (y + 27 > limit + 27)
                break;
            p.draw_text({left, y, g.sheet.right - 24, y + 27}, line, theme.body, theme.text, {HAlign::Left, VAlign::Middle, Elide::Middle});
            y += 27;
        }
    }
    if (g.confirm_button) {
        p.fill_rounded_rect(*g.confirm_button, 8, theme.danger);
        p.draw_text(g.confirm_button->inset(10, 0), m_sheet->confirm->label, theme.body_strong, theme.accent_text,
                    {HAlign::Center, VAlign::Middle, Elide::End});
    }
}

EventResult SheetFrame::handle_event(const Event& e)
{
    if (!m_sheet)
        return EventResult::Ignored;
    const auto& g = m_geometry;
    if (auto* pointer = std::get_if<PointerEvent>(&e)) {
        if (pointer->action != PointerAction::Down || pointer->button != PointerButton::Primary)
            return EventResult::Handled;
        if (g.confirm_button && g.confirm_button->contains(pointer->position))
            m_outcome = Outcome::Confirm;
        else if (!g.sheet.contains(pointer->position) || g.close_button.contains(pointer->position))
            m_outcome = Outcome::Close;
        return EventResult::Handled;
    }
    if (auto* key = std::get_if<KeyEvent>(&e)) {
        if (key->key == Key::Escape)
            m_outcome = Outcome::Close;
        else if (key->key == Key::Enter && !m_composing && m_sheet->confirm)
            m_outcome = Outcome::Confirm;
        return EventResult::Handled;  // the sheet is modal
    }
    return EventResult::Handled;
}

void SheetFrame::accessibility(std::vector<AccessNode>& out) const
{
    if (!m_sheet)
        return;
    AccessNode node;
    node.role = AccessRole::Dialog;
    node.name = m_sheet->title;
    node.bounds = m_geometry.sheet;
    if (m_sheet->confirm) {
        node.description = i18n::t_args("files-a11y-dialog-close", {i18n::arg("summary", m_sheet->summary)});
        AccessNode confirm;
        confirm.role = AccessRole::Button;
        confirm.name = m_sheet->confirm->label;
        confirm.bounds = *m_geometry.confirm_button;
        confirm.actions = {"press"};
        node.children.push_back(std::move(confirm));
    } else {
        std::string details;
        for (const auto& line : m_sheet->details) {
            if (!details.empty())
                details += ". ";
            details += line;
        }
        node.description = i18n::t_args("files-a11y-panel-details", {i18n::arg("title", m_sheet->title),
                                                                     i18n::arg("summary", m_sheet->summary),
                                                                     i18n::arg("details", details)});
    }
    out.push_back(std::move(node));
}

Sheet shortcuts_sheet()
{
    Sheet sheet;
    sheet.title = i18n::t("files-shortcuts-title");
    sheet.summary = i18n::t("files-shortcuts-summary");
    for (const char* key : {"files-shortcuts-primary", "files-shortcuts-navigate", "files-shortcuts-grid", "files-shortcuts-open",
                            "files-shortcuts-location", "files-shortcuts-new-folder", "files-shortcuts-edit", "files-shortcuts-hidden",
                            "files-shortcuts-size", "files-shortcuts-context", "files-shortcuts-close"})
        sheet.details.push_back(i18n::t(key));
    return sheet;
}

}
