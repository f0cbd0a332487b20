#pragma once

#include "kavo_ui/theme.hpp"
#include "kavo_ui/widget.hpp"

#include <expected>
#include <filesystem>
#include <memory>
#include <string>

namespace kavo_ui {

// Renders a widget offscreen into an image, through the same painter the window uses, so a
// screenshot shows exactly what the window would.
class ShotFrame {
public:
    static ShotFrame create(Size size, const Theme& theme);
    ShotFrame(ShotFrame&&) noexcept;
    ShotFrame& operator=(ShotFrame&&) noexcept;
    ~ShotFrame();

    Size size() const;
    const Theme& theme() const;
    void set_now(Clock::time_point now);
    void sync(Widget& root);
    void layout(Widget& root);
    // Clears the image to the window background and draws the widget tree.
    void draw(Widget& root);
    void draw_overlay(Widget& root);
    // Writes the image as PNG, creating missing parent folders; returns the absolute path.
    std::expected<std::filesystem::path, std::string> write_png(const std::filesystem::path& path) const;
    // Premultiplied ARGB32 pixel at (x, y), for tests.
    uint32_t pixel(int x, int y) const;

private:
    struct Impl;
    explicit ShotFrame(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

}
