#include "kavo_ui/shot_frame.hpp"

#include "backend/gui_app.hpp"
#include "backend/qt_painter.hpp"

#include <QImage>
#include <QImageWriter>

namespace kavo_ui {

struct ShotFrame::Impl {
    Size size;
    Theme theme;
    QImage image;
    Clock::time_point now = Clock::now();
};

ShotFrame::ShotFrame(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
ShotFrame::ShotFrame(ShotFrame&&) noexcept = default;
ShotFrame& ShotFrame::operator=(ShotFrame&&) noexcept = default;
ShotFrame::~ShotFrame() = default;

ShotFrame ShotFrame::create(Size size, const Theme& theme)
{
    backend::ensure_gui();
    auto impl = std::make_unique<Impl>();
    impl->size = size;
    impl->theme = theme;
    impl->image = QImage(int(size.width * theme.ui_scale), int(size.height * theme.ui_scale), QImage::Format_ARGB32_Premultiplied);
    impl->image.fill(Qt::black);
    return ShotFrame(std::move(impl));
}

Size ShotFrame::size() const { return m_impl->size; }
const Theme& ShotFrame::theme() const { return m_impl->theme; }
void ShotFrame::set_now(Clock::time_point now) { m_impl->now = now; }

void ShotFrame::sync(Widget& root) { root.sync(FrameContext{m_impl->now, m_impl->theme}); }

void ShotFrame::layout(Widget& root)
{
    root.layout(Rect{0, 0, m_impl->size.width * m_impl->theme.ui_scale, m_impl->size.height * m_impl->theme.ui_scale},
                m_impl->theme);
}

void ShotFrame::draw(Widget& root)
{
    QPainter qp(&m_impl->image);
    backend::paint_root(qp, root, m_impl->theme, {float(m_impl->image.width()), float(m_impl->image.height())}, false);
}

void ShotFrame::draw_overlay(Widget& root)
{
    QPainter qp(&m_impl->image);
    Rect bounds{0, 0, float(m_impl->image.width()), float(m_impl->image.height())};
    backend::QtPainter painter(qp, bounds);
    root.draw_overlay(painter, m_impl->theme);
}

std::expected<std::filesystem::path, std::string> ShotFrame::write_png(const std::filesystem::path& path) const
{
    std::error_code ec;
    auto absolute = std::filesystem::absolute(path, ec);
    if (ec)
        return std::unexpected("cannot resolve " + path.string() + ": " + ec.message());
    if (absolute.has_parent_path())
        std::filesystem::create_directories(absolute.parent_path(), ec);
    QImageWriter writer(QString::fromStdString(absolute.string()), "png");
    if (!writer.write(m_impl->image))
        return std::unexpected("cannot write " + absolute.string() + ": " + writer.errorString().toStdString());
    return absolute.lexically_normal();
}

uint32_t ShotFrame::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_impl->image.width() || y >= m_impl->image.height())
        return 0;
    return m_impl->image.pixel(x, y);
}

}
