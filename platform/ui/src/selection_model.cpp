#include "kavo_ui/selection_model.hpp"

#include <algorithm>

namespace kavo_ui {

void SelectionModel::reset(size_t count)
{
    m_flags.assign(count, false);
    m_selected = 0;
    m_anchor.reset();
    m_focused.reset();
}

void SelectionModel::set(size_t index, bool on)
{
    if (index >= m_flags.size() || m_flags[index] == on)
        return;
    m_flags[index] = on;
    m_selected += on ? 1 : -1;
}

void SelectionModel::clear()
{
    std::fill(m_flags.begin(), m_flags.end(), false);
    m_selected = 0;
    m_anchor.reset();
    m_focused.reset();
}

void SelectionModel::select_range(size_t a, size_t b)
{
    std::fill(m_flags.begin(), m_flags.end(), false);
    m_selected = 0;
    for (size_t i = std::min(a, b); i <= std::max(a, b) && i < m_flags.size(); ++i)
        set(i, true);
}

void SelectionModel::select_only(size_t index)
{
    if (index >= m_flags.size())
        return;
    select_range(index, index);
    m_anchor = index;
    m_focused = index;
}

void SelectionModel::toggle(size_t index)
{
    if (index >= m_flags.size())
        return;
    set(index, !m_flags[index]);
    m_anchor = index;
    m_focused = index;
}

void SelectionModel::apply_click(size_t index, bool primary, bool shift)
{
    if (index >= m_flags.size())
        return;
    if (shift)
        move_to(index, true);
    else if (primary)
        toggle(index);
    else
        select_only(index);
}

void SelectionModel::select_all()
{
    std::fill(m_flags.begin(), m_flags.end(), true);
    m_selected = m_flags.size();
}

void SelectionModel::move_to(size_t index, bool extend)
{
    if (index >= m_flags.size())
        return;
    if (extend) {
        select_range(m_anchor.value_or(index), index);
        if (!m_anchor)
            m_anchor = index;
        m_focused = index;
    } else {
        select_only(index);
    }
}

void SelectionModel::set_selected(const std::vector<size_t>& indices)
{
    std::fill(m_flags.begin(), m_flags.end(), false);
    m_selected = 0;
    for (size_t i : indices)
        set(i, true);
}

void SelectionModel::set_focused(std::optional<size_t> index)
{
    if (index && *index >= m_flags.size())
        index.reset();
    m_focused = index;
    if (index && !m_anchor)
        m_anchor = index;
}

std::vector<size_t> SelectionModel::selected() const
{
    std::vector<size_t> out;
    out.reserve(m_selected);
    for (size_t i = 0; i < m_flags.size() && out.size() < m_selected; ++i)
        if (m_flags[i])
            out.push_back(i);
    return out;
}

}
