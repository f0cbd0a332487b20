#include "backend/gui_app.hpp"

#include <QFontMetricsF>

#include <cstdlib>
#include <memory>
#include <unordered_map>

namespace kavo_ui::backend {

namespace {

bool env_set(const char* name)
{
    const char* v = std::getenv(name);
    return v && *v;
}

int g_argc = 1;
char g_arg0[] = "kavo-ui";
char* g_argv[] = {g_arg0, nullptr};
// Never destroyed by a static destructor: Qt's own statics may already be gone by then, so the
// application ends either through shutdown_gui() or with the process.
QGuiApplication* g_app = nullptr;
std::unordered_map<uint64_t, QFont>* g_fonts = nullptr;
std::unordered_map<uint64_t, QFontMetricsF>* g_metrics = nullptr;

uint64_t style_key(const TextStyle& style)
{
    int pixels = std::max(1, int(style.size + 0.5f));
    return uint64_t(pixels) << 8 | uint64_t(style.weight);
}

}

bool display_available() { return env_set("QT_QPA_PLATFORM") || env_set("DISPLAY") || env_set("WAYLAND_DISPLAY"); }

QGuiApplication& ensure_gui(int* argc, char** argv)
{
    if (auto* existing = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return *existing;
    if (!display_available())
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The offscreen platform has no font database plugin of its own choice; fontconfig is
    // what it uses, and Inter is found through it.
    if (argc && argv)
        g_app = new QGuiApplication(*argc, argv);
    else
        g_app = new QGuiApplication(g_argc, g_argv);
    QGuiApplication::setQuitOnLastWindowClosed(true);
    return *g_app;
}

void shutdown_gui()
{
    delete g_metrics;
    g_metrics = nullptr;
    delete g_fonts;
    g_fonts = nullptr;
    delete g_app;
    g_app = nullptr;
}

const QFont& font_for(const TextStyle& style)
{
    ensure_gui();
    if (!g_fonts)
        g_fonts = new std::unordered_map<uint64_t, QFont>;
    int pixels = std::max(1, int(style.size + 0.5f));
    uint64_t key = style_key(style);
    auto it = g_fonts->find(key);
    if (it != g_fonts->end())
        return it->second;
    QFont font;
    font.setFamilies({QStringLiteral("Inter"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels);
    switch (style.weight) {
    case FontWeight::Regular: font.setWeight(QFont::Normal); break;
    case FontWeight::Medium: font.setWeight(QFont::Medium); break;
    case FontWeight::Semibold: font.setWeight(QFont::DemiBold); break;
    case FontWeight::Bold: font.setWeight(QFont::Bold); break;
    }
    font.setHintingPreference(QFont::PreferNoHinting);
    return g_fonts->emplace(key, font).first->second;
}

const QFontMetricsF& metrics_for(const TextStyle& style)
{
    const QFont& font = font_for(style);
    if (!g_metrics)
        g_metrics = new std::unordered_map<uint64_t, QFontMetricsF>;
    uint64_t key = style_key(style);
    auto it = g_metrics->find(key);
    if (it == g_metrics->end())
        it = g_metrics->emplace(key, QFontMetricsF(font)).first;
    return it->second;
}

}
