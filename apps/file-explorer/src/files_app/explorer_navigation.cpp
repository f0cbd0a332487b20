#include "files_app/file_explorer_widget.hpp"

namespace files::app {

std::filesystem::path normalized_folder(const std::filesystem::path& p)
{
    auto n = p.lexically_normal();
    if (!n.has_filename() && n.has_parent_path() && n != n.root_path())
        n = n.parent_path();
    return n;
}

void FileExplorerWidget::navigate(const std::filesystem::path& path)
{
    auto target = normalized_folder(path);
    if (target.compare(m_current_dir) != 0) {
        m_back.push_back(m_current_dir);
        m_forward.clear();
    }
    m_current_dir = std::move(target);
    reload();
}

void FileExplorerWidget::step_history(std::vector<std::filesystem::path>& from, std::vector<std::filesystem::path>& to)
{
    if (from.empty())
        return;
    to.push_back(m_current_dir);
    m_current_dir = std::move(from.back());
    from.pop_back();
    reload();
}

void FileExplorerWidget::go_back() { step_history(m_back, m_forward); }

void FileExplorerWidget::go_forward() { step_history(m_forward, m_back); }

void FileExplorerWidget::go_up()
{
    auto parent = m_current_dir.parent_path();
    if (parent.empty() || parent == m_current_dir)
        return;
    navigate(parent);
}

}
