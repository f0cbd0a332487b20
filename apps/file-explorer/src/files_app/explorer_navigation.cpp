#include "files_app/file_explorer_widget.hpp"

namespace files::app {

namespace {

// One spelling per folder, so "/a/b/" and "/a/b" are the same place in the history.
std::filesystem::path normalized(const std::filesystem::path& p)
{
    auto n = p.lexically_normal();
    if (!n.has_filename() && n.has_parent_path() && n != n.root_path())
        n = n.parent_path();
    return n;
}

}

void FileExplorerWidget::navigate(const std::filesystem::path& path)
{
    auto target = normalized(path);
    if (target.compare(m_current_dir) != 0) {
        m_back.push_back(m_current_dir);
        m_forward.clear();
    }
    m_current_dir = std::move(target);
    reload();
}

void FileExplorerWidget::go_back()
{
    if (m_back.empty())
        return;
    m_forward.push_back(m_current_dir);
    m_current_dir = std::move(m_back.back());
    m_back.pop_back();
    reload();
}

void FileExplorerWidget::go_forward()
{
    if (m_forward.empty())
        return;
    m_back.push_back(m_current_dir);
    m_current_dir = std::move(m_forward.back());
    m_forward.pop_back();
    reload();
}

void FileExplorerWidget::go_up()
{
    auto parent = m_current_dir.parent_path();
    if (parent.empty() || parent == m_current_dir)
        return;
    navigate(parent);
}

}
