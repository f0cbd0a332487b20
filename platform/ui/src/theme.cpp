#include "kavo_ui/theme.hpp"

namespace kavo_ui {

Theme dark_theme()
{
    Theme t;
    t.window_background = Color::rgb(0x17181b);
    t.sidebar_background = Color::rgb(0x1d1f23);
    t.surface = Color::rgb(0x202226);
    t.surface_raised = Color::rgb(0x2b2e33);
    t.panel = Color::rgb(0x2f3238);
    t.border = Color::rgb(0x3a3d44);
    t.text = Color::rgb(0xeceef2);
    t.text_muted = Color::rgb(0xa3a8b3);
    t.text_disabled = Color::rgb(0x6b707a);
    t.accent = Color::rgb(0x4f8cff);
    t.accent_text = Color::rgb(0xffffff);
    t.selection = Color::rgba(0x4f8cff4d);
    t.hover = Color::rgba(0xffffff14);
    t.pressed = Color::rgba(0xffffff24);
    t.focus_ring = Color::rgb(0x7aa7ff);
    t.danger = Color::rgb(0xff6b6b);
    t.scrollbar = Color::rgba(0xffffff40);
    t.folder = Color::rgb(0x5b9cf5);
    t.shadow = Color::rgba(0x00000080);
    return t;
}

Theme shot_theme()
{
    Theme t = dark_theme();
    t.animations = false;
    return t;
}

}
