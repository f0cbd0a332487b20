#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>

#include "kavo_ui/text.hpp"

namespace kavo_ui::backend {

// Makes sure a QGuiApplication exists. Without a display (and without QT_QPA_PLATFORM) the
// offscreen platform is chosen, so screenshots and tests work headless.
QGuiApplication& ensure_gui(int* argc = nullptr, char** argv = nullptr);

// True when a window system is reachable (or the platform was chosen explicitly).
bool display_available();

// Destroys the application object (and the font caches that refer to it) while Qt still runs.
void shutdown_gui();

// The font for a text style, and its metrics, cached.
const QFont& font_for(const TextStyle& style);
const QFontMetricsF& metrics_for(const TextStyle& style);

}
