#include "kavo_ui/autocomplete.hpp"

#include <gtest/gtest.h>

using namespace kavo_ui;
using Candidate = Autocomplete::Candidate;

namespace {

// Completes names in a small fake tree: the entries whose value continues the text by one name.
std::vector<Candidate> complete(std::string_view text)
{
    static const char* const k_values[] = {"Desktop/", "Documents/", "Documents/report.txt", "Downloads/", "notes.txt"};
    std::vector<Candidate> out;
    for (std::string_view v : k_values) {
        if (!v.starts_with(text) || v == text)
            continue;
        std::string_view rest = v.substr(text.size());
        if (rest.find('/') != std::string_view::npos && rest.find('/') + 1 != rest.size())
            continue;
        size_t slash = v.find_last_of('/', v.size() - 2);
        std::string label(slash == std::string_view::npos ? v : v.substr(slash + 1));
        out.push_back({label, std::string(v), v.ends_with('/')});
    }
    return out;
}

class Entry {
public:
    explicit Entry(std::string text = {}) : field("path", "Type a path")
    {
        field.set_candidate_provider([this](std::string_view t) {
            ++provider_calls;
            return complete(t);
        });
        field.layout(Rect{0, 0, 400, 32}, theme);
        field.begin_edit(std::move(text));
    }
    Entry& type(std::string_view text)
    {
        field.handle_event(TextEvent{std::string(text)});
        return *this;
    }
    Entry& key(Key k, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            last = field.handle_event(KeyEvent{k, 0, {}, false});
        return *this;
    }
    std::vector<std::string> values() const
    {
        std::vector<std::string> out;
        for (const auto& c : field.candidates())
            out.push_back(c.value);
        return out;
    }

    Theme theme = dark_theme();
    Autocomplete field;
    int provider_calls = 0;
    EventResult last = EventResult::Ignored;
};

struct SequenceCase {
    const char* name;
    const char* start;
    void (*act)(Entry&);
    const char* text;
    std::optional<Autocomplete::Result::Kind> result;
    bool editing;
    bool open;
    std::optional<size_t> highlighted;
};

const SequenceCase k_sequences[] = {
    {"typing opens the list, nothing highlighted", "", [](Entry& e) { e.type("D"); }, "D", {}, true, true, {}},
    {"down then enter accepts the first row and lists anew", "", [](Entry& e) { e.type("Do").key(Key::Down).key(Key::Enter); },
     "Documents/", {}, true, true, {}},
    {"down down up tab accepts the first row", "",
     [](Entry& e) { e.type("D").key(Key::Down, 2).key(Key::Up).key(Key::Tab); }, "Desktop/", {}, true, false, {}},
    {"down stops at the last row", "", [](Entry& e) { e.type("D").key(Key::Down, 5); }, "D", {}, true, true, 2},
    {"up from the first row returns to the typed text", "", [](Entry& e) { e.type("D").key(Key::Down).key(Key::Up); },
     "D", {}, true, true, {}},
    {"up with nothing highlighted takes the last row", "", [](Entry& e) { e.type("D").key(Key::Up); }, "D", {}, true,
     true, 2},
    {"enter without a highlighted row submits", "", [](Entry& e) { e.type("Do").key(Key::Enter); }, "Do",
     Autocomplete::Result::Submitted, false, false, {}},
    {"enter after moving back to the text submits it", "",
     [](Entry& e) { e.type("Do").key(Key::Down).key(Key::Up).key(Key::Enter); }, "Do", Autocomplete::Result::Submitted,
     false, false, {}},
    {"escape closes the list and keeps editing", "", [](Entry& e) { e.type("Do").key(Key::Down).key(Key::Escape); },
     "Do", {}, true, false, {}},
    {"a second escape cancels", "", [](Entry& e) { e.type("Do").key(Key::Escape, 2); }, "Do",
     Autocomplete::Result::Cancelled, false, false, {}},
    {"escape with the list closed cancels at once", "~/x", [](Entry& e) { e.key(Key::Escape); }, "~/x",
     Autocomplete::Result::Cancelled, false, false, {}},
    {"begin edit leaves the list closed, down opens it", "Do", [](Entry& e) { e.key(Key::Down); }, "Do", {}, true, true,
     {}},
    {"a deletion lists again", "", [](Entry& e) { e.type("Doc").key(Key::Backspace); }, "Do", {}, true, true, {}},
    {"text that matches nothing closes the list", "", [](Entry& e) { e.type("D").type("zz"); }, "Dzz", {}, true, false,
     {}},
};

}

TEST(Autocomplete, KeySequences)
{
    for (const auto& c : k_sequences) {
        SCOPED_TRACE(c.name);
        Entry e(c.start);
        c.act(e);
        EXPECT_EQ(e.field.input().text(), c.text);
        auto result = e.field.take_result();
        ASSERT_EQ(result.has_value(), c.result.has_value());
        if (result) {
            EXPECT_EQ(result->kind, *c.result);
            EXPECT_EQ(result->text, c.text);
        }
        EXPECT_EQ(e.field.editing(), c.editing);
        EXPECT_EQ(e.field.list_open(), c.open);
        EXPECT_EQ(e.field.highlighted(), c.highlighted);
    }
}

TEST(Autocomplete, AsksForCandidatesAfterEveryChangeOnly)
{
    Entry e;
    EXPECT_EQ(e.provider_calls, 0);
    e.type("D");
    EXPECT_EQ(e.values(), (std::vector<std::string>{"Desktop/", "Documents/", "Downloads/"}));
    e.key(Key::Down).key(Key::Left);
    EXPECT_EQ(e.provider_calls, 1) << "moves change no text";
    e.key(Key::Down).key(Key::Tab);
    EXPECT_EQ(e.field.input().text(), "Documents/");
    EXPECT_EQ(e.provider_calls, 2);
    EXPECT_EQ(e.values(), (std::vector<std::string>{"Documents/report.txt"}));
    EXPECT_EQ(e.key(Key::Tab).last, EventResult::Ignored) << "tab without a highlighted row is not taken";
}

TEST(Autocomplete, PressOnACandidateAcceptsIt)
{
    Entry e;
    e.type("D");
    Rect row = e.field.row_rect(2);
    ASSERT_FALSE(row.is_empty());
    EXPECT_GT(row.top, e.field.bounds().bottom) << "the list hangs below the field";
    e.field.handle_event(PointerEvent{PointerAction::Move, row.center(), PointerButton::None, {}, 1});
    EXPECT_EQ(e.field.handle_event(PointerEvent{PointerAction::Down, row.center(), PointerButton::Primary, {}, 1}),
              EventResult::Handled);
    EXPECT_EQ(e.field.input().text(), "Downloads/");
    EXPECT_FALSE(e.field.take_result());

    ASSERT_FALSE(e.field.list_open()) << "nothing continues Downloads/";
    e.field.input().set_text("D");
    e.key(Key::Down);
    ASSERT_TRUE(e.field.list_open());
    e.field.handle_event(PointerEvent{PointerAction::Down, {200, 500}, PointerButton::Primary, {}, 1});
    EXPECT_FALSE(e.field.list_open()) << "a press elsewhere closes the list";
    EXPECT_TRUE(e.field.editing());
}

TEST(Autocomplete, LongListsScrollToTheHighlightedRow)
{
    Entry e;
    e.field.set_max_visible_rows(2);
    e.type("D");
    EXPECT_NEAR(e.field.list_rect().height(), 2 * Autocomplete::k_row_height + 8, 0.01);
    e.key(Key::Down, 3);
    EXPECT_EQ(e.field.highlighted(), 2u);
    EXPECT_EQ(e.field.first_visible_row(), 1u);
    EXPECT_TRUE(e.field.row_rect(0).is_empty());
    EXPECT_FALSE(e.field.row_rect(2).is_empty());
    e.field.handle_event(WheelEvent{e.field.list_rect().center(), 1, 0, {}});
    EXPECT_EQ(e.field.first_visible_row(), 0u);
}

TEST(Autocomplete, AccessibleAsAnInputWithAListOfCandidates)
{
    Entry e;
    e.type("D").key(Key::Down, 2);
    std::vector<AccessNode> nodes;
    e.field.accessibility(nodes);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0].role, AccessRole::TextInput);
    EXPECT_EQ(nodes[0].value, "D");
    EXPECT_TRUE(nodes[0].states & k_state_expanded);
    EXPECT_EQ(nodes[1].role, AccessRole::List);
    ASSERT_EQ(nodes[1].children.size(), 3u);
    EXPECT_EQ(nodes[1].children[1].name, "Documents/");
    EXPECT_TRUE(nodes[1].children[1].states & k_state_selected);
    EXPECT_FALSE(nodes[1].children[0].states & k_state_selected);
    EXPECT_EQ(nodes[1].children[1].position, (std::pair<size_t, size_t>{2, 3}));

    e.key(Key::Escape);
    nodes.clear();
    e.field.accessibility(nodes);
    EXPECT_EQ(nodes.size(), 1u) << "no list node while the list is closed";
}
