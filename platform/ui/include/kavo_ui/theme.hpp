#pragma once

#include "kavo_ui/geometry.hpp"
#include "kavo_ui/text.hpp"

namespace kavo_ui {

// The dark theme every window uses. Sizes are logical pixels before the UI scale.
struct Theme {
    float ui_scale = 1.0f;
    // The user's text size preference; views that scale with text read it.
    float text_scale = 1.0f;
    bool animations = true;

    Color window_background;
    Color sidebar_background;
    Color surface;         // content column
    Color surface_raised;  // buttons, headers
    Color panel;           // menus, sheets, the status bubble
    Color border;
    Color text;
    Color text_muted;
    Color text_disabled;
    Color accent;
    Color accent_text;  // text drawn on accent
    Color selection;
    Color hover;
    Color pressed;
    Color focus_ring;
    Color danger;
    Color scrollbar;
    Color folder;
    Color shadow;

    TextStyle body{13.0f, FontWeight::Regular};
    TextStyle body_strong{13.0f, FontWeight::Semibold};
    TextStyle small{11.5f, FontWeight::Regular};
    TextStyle title{15.0f, FontWeight::Semibold};
    TextStyle headline{19.0f, FontWeight::Semibold};

    float radius = 8.0f;

    float px(float logical) const { return logical * ui_scale; }
    TextStyle scaled(const TextStyle& s) const { return {s.size * ui_scale, s.weight}; }
};

Theme dark_theme();
// The theme screenshots render with: the dark theme with animations off, so a scene shows its
// settled state.
Theme shot_theme();

}
