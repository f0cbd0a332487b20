#include "backend/window_host.hpp"

#include "backend/gui_app.hpp"
#include "backend/qt_input.hpp"
#include "backend/qt_painter.hpp"
#include "kavo_ui/automation.hpp"
#include "kavo_ui/search_catalog.hpp"
#include "kavo_ui/wake.hpp"

#include <QBackingStore>
#include <QCoreApplication>
#include <QImageWriter>
#include <QInputMethodQueryEvent>
#include <QResizeEvent>

#include <spdlog/spdlog.h>

#include <mutex>

namespace kavo_ui::backend {

namespace {
const QEvent::Type k_wake_event = QEvent::Type(QEvent::User + 1);
}

// wake() may run on any thread, also while the window is being destroyed; the receiver is
// cleared under the lock before the window goes away.
struct HostWindow::WakeState {
    std::mutex mutex;
    QObject* receiver = nullptr;
    std::atomic<bool> posted{false};
};

class HostOpsAdapter final : public automation::HostOps {
public:
    explicit HostOpsAdapter(HostWindow& w) : m_w(w) {}
    std::string app_id() const override { return m_w.app_id(); }
    nlohmann::ordered_json snapshot() override { return m_w.root().observer_snapshot(); }
    nlohmann::ordered_json accessibility() override { return m_w.accessibility_tree(); }
    nlohmann::ordered_json resources() override { return m_w.root().resources(); }
    std::expected<nlohmann::ordered_json, std::string> invoke(const automation::InvokeRequest& r) override
    {
        auto result = m_w.root().invoke(ActionInvocation{r.action, r.effect_class, r.payload, r.args});
        m_w.run_frame(true);
        return result;
    }
    uint64_t input(const std::vector<Event>& events) override
    {
        for (const auto& e : events)
            m_w.dispatch_input(e);
        return m_w.run_frame(true);
    }
    uint64_t frame() override { return m_w.run_frame(true); }
    uint64_t resize(float width, float height) override { return m_w.resize_logical({width, height}); }
    std::expected<std::string, std::string> screenshot(const std::filesystem::path& path) override
    {
        return m_w.screenshot(path);
    }
    nlohmann::ordered_json search(const std::string& query, size_t limit) override
    {
        // Without a cursor the first page cannot fail.
        return to_json(search_catalog().query_page(query, limit).value_or(SearchPage{}));
    }
    void quit() override { m_w.request_quit(); }

private:
    HostWindow& m_w;
};

HostWindow::HostWindow(const LaunchSpec& spec, std::unique_ptr<Widget> root, Size size)
    : m_app_id(spec.app_id), m_can_close(spec.can_close), m_root(std::move(root)), m_theme(dark_theme()), m_size(size)
{
    setSurfaceType(QSurface::RasterSurface);
    m_store = new QBackingStore(this);
    resize(int(size.width), int(size.height));
    setMinimumSize(QSize(360, 280));

    m_deadline_timer.setSingleShot(true);
    m_deadline_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_deadline_timer, &QTimer::timeout, this, [this] { run_frame(false); });
    m_animation_timer.setSingleShot(true);
    m_animation_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_animation_timer, &QTimer::timeout, this, [this] { run_frame(true); });

    m_wake = std::make_shared<WakeState>();
    m_wake->receiver = this;
    detail::set_wake_handler([state = m_wake] {
        std::lock_guard lock(state->mutex);
        if (state->receiver && !state->posted.exchange(true))
            QCoreApplication::postEvent(state->receiver, new QEvent(k_wake_event));
    });

    m_ops = std::make_unique<HostOpsAdapter>(*this);
    if (spec.automation_endpoint) {
        if (auto path = automation::socket_path(m_app_id)) {
            auto server = automation::Server::start(*path);
            if (server)
                m_server = std::move(*server);
            else
                spdlog::warn("automation endpoint unavailable: {}", server.error());
        }
    }
}

HostWindow::~HostWindow()
{
    {
        std::lock_guard lock(m_wake->mutex);
        m_wake->receiver = nullptr;
    }
    detail::set_wake_handler(nullptr);
    m_server.reset();
    delete m_store;
}

Size HostWindow::logical_size() const { return m_size; }

void HostWindow::request_frame()
{
    if (m_frame_requested)
        return;
    m_frame_requested = true;
    requestUpdate();
}

uint64_t HostWindow::run_frame(bool force_paint)
{
    m_frame_requested = false;
    FrameContext ctx{Clock::now(), m_theme};
    m_root->sync(ctx);
    Size size = logical_size();
    bool relayout = m_root->take_structure_dirty() || size != m_laid_out_size;
    if (relayout) {
        m_root->layout(Rect{0, 0, size.width, size.height}, m_theme);
        m_laid_out_size = size;
    }
    bool repaint = m_root->take_paint_dirty();
    if (force_paint || relayout || repaint)
        paint();
    if (auto title = m_root->window_title(); title != m_title) {
        m_title = title;
        setTitle(QString::fromStdString(title));
    }
    ++m_frame;
    schedule_next();
    return m_frame;
}

void HostWindow::paint()
{
    if (!isExposed())
        return;
    QSize qsize(int(m_size.width), int(m_size.height));
    m_store->resize(qsize);
    QRect rect(QPoint(0, 0), qsize);
    m_store->beginPaint(rect);
    {
        QPainter qp(m_store->paintDevice());
        paint_root(qp, *m_root, m_theme, m_size);
    }
    m_store->endPaint();
    m_store->flush(rect);
}

void HostWindow::schedule_next()
{
    if (m_root->wants_animation_frame()) {
        m_deadline_timer.stop();
        if (!m_animation_timer.isActive())
            m_animation_timer.start(16);
        return;
    }
    m_animation_timer.stop();
    if (auto deadline = m_root->next_deadline()) {
        auto wait = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
        m_deadline_timer.start(int(std::clamp<long long>(wait.count(), 0, 24LL * 3600 * 1000)));
    } else {
        m_deadline_timer.stop();
    }
}

void HostWindow::dispatch_input(const Event& e)
{
    if (auto* p = std::get_if<PointerEvent>(&e))
        m_last_pointer = p->position;
    EventResult result = m_root->handle_event(e);
    // A printable key nobody took as a shortcut is typed text.
    if (auto* key = std::get_if<KeyEvent>(&e); key && result == EventResult::Ignored && key->key == Key::Character
        && !key->modifiers.primary && !key->modifiers.alt && key->character >= 0x20)
        m_root->handle_event(TextEvent{utf8_of(key->character)});
    request_frame();
}

uint64_t HostWindow::resize_logical(Size size)
{
    m_size = size;
    resize(int(size.width), int(size.height));
    return run_frame(true);
}

std::expected<std::string, std::string> HostWindow::screenshot(const std::filesystem::path& path)
{
    QImage image(int(m_size.width), int(m_size.height), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter qp(&image);
        paint_root(qp, *m_root, m_theme, m_size);
    }
    QImageWriter writer(QString::fromStdString(path.string()), "png");
    if (!writer.write(image))
        return std::unexpected("cannot write " + path.string() + ": " + writer.errorString().toStdString());
    return path.string();
}

nlohmann::ordered_json HostWindow::accessibility_tree() const
{
    std::vector<AccessNode> nodes;
    m_root->accessibility(nodes);
    if (nodes.size() == 1 && nodes.front().role == AccessRole::Window)
        return to_json(nodes.front());
    AccessNode window;
    window.role = AccessRole::Window;
    window.name = m_root->window_title();
    window.bounds = {0, 0, m_size.width, m_size.height};
    window.children = std::move(nodes);
    return to_json(window);
}

void HostWindow::request_quit()
{
    QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::quit(); });
}

bool HostWindow::event(QEvent* e)
{
    if (e->type() == k_wake_event) {
        m_wake->posted = false;
        if (m_server && m_server->has_pending())
            m_server->process_pending(*m_ops);
        run_frame(true);
        return true;
    }
    switch (e->type()) {
    case QEvent::UpdateRequest:
        run_frame(true);
        return true;
    case QEvent::Close:
        if (m_can_close && !m_can_close()) {
            e->ignore();
            return true;
        }
        request_quit();
        break;
    case QEvent::Leave:
        dispatch_input(PointerEvent{PointerAction::Leave, m_last_pointer, PointerButton::None, {}, 1});
        return true;
    case QEvent::InputMethodQuery: {
        auto* query = static_cast<QInputMethodQueryEvent*>(e);
        if (query->queries() & Qt::ImEnabled)
            query->setValue(Qt::ImEnabled, true);
        query->accept();
        return true;
    }
    case QEvent::InputMethod: {
        auto* im = static_cast<QInputMethodEvent*>(e);
        dispatch_input(ImeEvent{im->preeditString().toStdString(), im->commitString().toStdString()});
        return true;
    }
    default: break;
    }
    return QWindow::event(e);
}

void HostWindow::exposeEvent(QExposeEvent*)
{
    if (isExposed())
        run_frame(true);
}

void HostWindow::resizeEvent(QResizeEvent* e)
{
    m_size = {float(e->size().width()), float(e->size().height())};
    request_frame();
}

void HostWindow::keyPressEvent(QKeyEvent* e)
{
    for (const auto& ev : translate_key(*e))
        dispatch_input(ev);
}

void HostWindow::mousePressEvent(QMouseEvent* e) { dispatch_input(translate_mouse(*e, PointerAction::Down, 1)); }
void HostWindow::mouseDoubleClickEvent(QMouseEvent* e) { dispatch_input(translate_mouse(*e, PointerAction::Down, 2)); }
void HostWindow::mouseReleaseEvent(QMouseEvent* e) { dispatch_input(translate_mouse(*e, PointerAction::Up, 1)); }
void HostWindow::mouseMoveEvent(QMouseEvent* e) { dispatch_input(translate_mouse(*e, PointerAction::Move, 1)); }
void HostWindow::wheelEvent(QWheelEvent* e) { dispatch_input(translate_wheel(*e)); }

}
