#include "kavo_ui/launch.hpp"

#include "backend/gui_app.hpp"
#include "backend/window_host.hpp"

namespace kavo_ui::launch {

std::expected<void, LaunchError> run(const LaunchSpec& spec, int argc, char** argv)
{
    std::vector<std::string> raw(argv + std::min(argc, 1), argv + argc);
    auto args = parse_args(spec, raw);
    if (!args)
        return std::unexpected(args.error());

    // Qt sees only the program name, so it never takes one of the application's options.
    static int qt_argc = 1;
    static char* qt_argv[] = {argc > 0 ? argv[0] : const_cast<char*>("kavo-ui"), nullptr};

    if (args->scene()) {
        backend::ensure_gui(&qt_argc, qt_argv);
        if (spec.open_app_state)
            spec.open_app_state();
        if (!spec.render_scene)
            return std::unexpected(LaunchError{"this application renders no scenes"});
        auto rendered = spec.render_scene(*args);
        backend::shutdown_gui();
        return rendered;
    }

    if (!backend::display_available())
        return std::unexpected(LaunchError{
            "no display to open a window on (DISPLAY and WAYLAND_DISPLAY are unset); --shot SCENE renders without one"});
    auto& app = backend::ensure_gui(&qt_argc, qt_argv);
    struct Shutdown {
        ~Shutdown() { backend::shutdown_gui(); }
    } shutdown;
    QGuiApplication::setApplicationName(QString::fromStdString(spec.app_id));
    QGuiApplication::setDesktopFileName(QString::fromStdString(spec.app_id));
    std::optional<persist::AppState> state;
    if (spec.open_app_state)
        state = spec.open_app_state();
    if (!spec.build_root)
        return std::unexpected(LaunchError{"this application builds no window"});
    auto root = spec.build_root(*args);
    if (!root)
        return std::unexpected(root.error());
    Size size = spec.default_size ? spec.default_size() : Size{1280, 800};
    backend::HostWindow window(spec, std::move(*root), size);
    window.show();
    app.exec();
    return {};
}

}
