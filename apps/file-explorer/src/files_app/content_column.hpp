#pragma once

#include "kavo_ui/widgets.hpp"

namespace files::app {

// The right-hand column of the shell: the toolbar row, then either the file
// view in its scroll area or a placeholder, with the status bubble floating above the bottom.
class ContentColumn final : public kavo_ui::Widget {
public:
    ContentColumn(kavo_ui::Widget& header, kavo_ui::Scrollable& scroll, kavo_ui::EmptyState& placeholder,
                  kavo_ui::StatusBubble& bubble);

    // What the body shows: the file view, a placeholder instead of it (loading, errors), or a
    // placeholder over the still present, empty file view (an empty folder is a settled view).
    enum class Body { View, Placeholder, PlaceholderOverView };
    void set_body(Body body) { m_body_mode = body; }
    Body body_mode() const { return m_body_mode; }
    const kavo_ui::Rect& body_rect() const { return m_body; }

    void layout(const kavo_ui::Rect& bounds, const kavo_ui::Theme&) override;
    void draw(kavo_ui::Painter&, const kavo_ui::Theme&) override;
    void draw_overlay(kavo_ui::Painter&, const kavo_ui::Theme&) override;
    kavo_ui::EventResult handle_event(const kavo_ui::Event&) override;
    void accessibility(std::vector<kavo_ui::AccessNode>&) const override;
    void visit_children(const std::function<void(kavo_ui::Widget&)>&) override;
    bool take_paint_dirty() override;

private:
    bool view_in_tree() const { return m_body_mode != Body::Placeholder; }
    bool placeholder_shown() const { return m_body_mode != Body::View; }

    kavo_ui::Widget& m_header_widget;
    kavo_ui::Scrollable& m_scroll;
    kavo_ui::EmptyState& m_placeholder;
    kavo_ui::StatusBubble& m_bubble;
    Body m_body_mode = Body::View;
    kavo_ui::Rect m_header;
    kavo_ui::Rect m_body;
};

}
