#include "kavo_ui/widget.hpp"

namespace kavo_ui {

Widget* find_widget(Widget& root, const std::function<bool(const Widget&)>& match)
{
    if (match(root))
        return &root;
    Widget* found = nullptr;
    root.visit_children([&](Widget& child) {
        if (!found)
            found = find_widget(child, match);
    });
    return found;
}

Widget* find_widget_by_id(Widget& root, std::string_view id)
{
    return find_widget(root, [&](const Widget& w) { return w.id() == id; });
}

Widget* find_parent(Widget& root, const Widget& target)
{
    Widget* parent = nullptr;
    root.visit_children([&](Widget& child) {
        if (parent)
            return;
        if (&child == &target)
            parent = &root;
        else
            parent = find_parent(child, target);
    });
    return parent;
}

}
