#pragma once

#include "kavo_ui/launch.hpp"
#include "kavo_ui/theme.hpp"
#include "kavo_ui/widget.hpp"

#include <QTimer>
#include <QWindow>

#include <memory>

class QBackingStore;

namespace kavo_ui::automation {
class Server;
}

namespace kavo_ui::backend {

// The application window: owns the root widget and runs its frames. A frame runs on input, on
// wake(), at the root's next deadline and while an animation runs; nothing else wakes it.
class HostWindow final : public QWindow {
public:
    HostWindow(const LaunchSpec& spec, std::unique_ptr<Widget> root, Size size);
    ~HostWindow() override;

    uint64_t run_frame(bool force_paint);
    void dispatch_input(const Event& e);
    uint64_t resize_logical(Size size);
    std::expected<std::string, std::string> screenshot(const std::filesystem::path& path);
    nlohmann::ordered_json accessibility_tree() const;
    Widget& root() { return *m_root; }
    const std::string& app_id() const { return m_app_id; }
    void request_quit();

protected:
    bool event(QEvent* e) override;
    void exposeEvent(QExposeEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    void schedule_next();
    void request_frame();
    void paint();
    Size logical_size() const;

    std::string m_app_id;
    std::function<bool()> m_can_close;
    std::unique_ptr<Widget> m_root;
    Theme m_theme;
    QBackingStore* m_store = nullptr;
    QTimer m_deadline_timer;
    QTimer m_animation_timer;
    Size m_size;
    Size m_laid_out_size{-1, -1};
    uint64_t m_frame = 0;
    bool m_frame_requested = false;
    std::string m_title;
    Point m_last_pointer{};
    struct WakeState;
    std::shared_ptr<WakeState> m_wake;
    std::unique_ptr<automation::Server> m_server;
    std::unique_ptr<class HostOpsAdapter> m_ops;
};

}
