#include "kavo_ui/desktop.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QStyleHints>

namespace kavo_ui {

bool clipboard_copy(std::string_view text)
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || !QGuiApplication::clipboard())
        return false;
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
    return true;
}

std::optional<std::string> clipboard_paste_text()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || !QGuiApplication::clipboard())
        return std::nullopt;
    QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return std::nullopt;
    return text.toStdString();
}

std::chrono::milliseconds multi_click_interval()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return std::chrono::milliseconds(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    return std::chrono::milliseconds(400);
}

}
