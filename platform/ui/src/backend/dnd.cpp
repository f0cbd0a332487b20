#include "kavo_ui/dnd.hpp"

#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

namespace kavo_ui::dnd {

DragResult start_file_drag(const std::vector<std::filesystem::path>& paths, std::string_view label)
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || paths.empty())
        return DragResult::Unavailable;
    QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal")
        return DragResult::Unavailable;
    QObject* source = QGuiApplication::focusWindow();
    if (!source)
        source = app;
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const auto& p : paths)
        urls.push_back(QUrl::fromLocalFile(QString::fromLocal8Bit(p.c_str())));
    data->setUrls(urls);
    data->setText(QString::fromUtf8(label.data(), qsizetype(label.size())));
    QDrag drag(source);
    drag.setMimeData(data);
    Qt::DropAction action = drag.exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
    return action == Qt::IgnoreAction ? DragResult::Cancelled : DragResult::TakenByDesktop;
}

}
