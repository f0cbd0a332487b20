#include "kavo_ui/desktop.hpp"
#include "kavo_ui/shot_frame.hpp"
#include "kavo_ui/text_input.hpp"

#include <gtest/gtest.h>

using namespace kavo_ui;
using Outcome = TextInput::Outcome;

namespace {

constexpr Modifiers k_shift{false, true, false};
constexpr Modifiers k_primary{true, false, false};
constexpr Modifiers k_primary_shift{true, true, false};

// A laid-out field that has the focus, with helpers that read like the user's gestures.
class Field {
public:
    explicit Field(std::string text = {}, float width = 300) : input("field", "Type a name")
    {
        input.layout(Rect{10, 10, 10 + width, 42}, theme);
        input.set_text(std::move(text));
        input.begin_edit();
    }

    Field& type(std::string_view text)
    {
        input.handle_event(TextEvent{std::string(text)});
        return *this;
    }
    Field& key(Key k, Modifiers m = {}, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            input.handle_event(KeyEvent{k, 0, m, false});
        return *this;
    }
    Field& shortcut(char32_t c)
    {
        input.handle_event(KeyEvent{Key::Character, c, k_primary, false});
        return *this;
    }
    EventResult pointer(PointerAction action, float x, int clicks = 1, Modifiers m = {})
    {
        return input.handle_event(PointerEvent{action, {x, 26}, PointerButton::Primary, m, clicks});
    }
    // The window x at which the text's byte offset is drawn.
    float x_of(size_t offset) const
    {
        return input.bounds().left + theme.px(TextInput::k_inner_margin) - input.scroll_x()
             + text_width(std::string_view(input.text()).substr(0, offset), theme.scaled(theme.body));
    }
    std::vector<Outcome> outcomes()
    {
        std::vector<Outcome> out;
        while (auto o = input.take_outcome())
            out.push_back(*o);
        return out;
    }

    Theme theme = dark_theme();
    TextInput input;
};

struct EditCase {
    const char* name;
    const char* start;
    void (*act)(Field&);
    const char* text;
    TextSelection selection;
};

// "e" followed by U+0301: one grapheme of three bytes.
const EditCase k_edit_cases[] = {
    {"typing inserts at the caret", "", [](Field& f) { f.type("ab").key(Key::Left).type("X"); }, "aXb", {2, 2}},
    {"backspace deletes a base letter with its combining accent", "cafe\u0301",
     [](Field& f) { f.key(Key::Backspace); }, "caf", {3, 3}},
    {"delete removes the cluster after the caret", "e\u0301x", [](Field& f) { f.key(Key::Home).key(Key::Delete); },
     "x", {0, 0}},
    {"left steps over a cluster", "ae\u0301b", [](Field& f) { f.key(Key::Left, {}, 2).type("|"); }, "a|e\u0301b",
     {2, 2}},
    {"shift+left selects and typing replaces the selection", "hello",
     [](Field& f) { f.key(Key::Left, k_shift, 2).type("p!"); }, "help!", {5, 5}},
    {"shift+home selects back to the start", "hello world", [](Field& f) { f.key(Key::Home, k_shift); },
     "hello world", {11, 0}},
    {"home and end", "abc", [](Field& f) { f.key(Key::Home).type("x").key(Key::End).type("y"); }, "xabcy", {5, 5}},
    {"an arrow collapses a selection to its side", "hello",
     [](Field& f) { f.shortcut(U'a').key(Key::Left).key(Key::Right, k_shift); }, "hello", {0, 1}},
    {"primary+left jumps to word starts over punctuation", "one, two  three",
     [](Field& f) { f.key(Key::Left, k_primary, 2); }, "one, two  three", {5, 5}},
    {"primary+left stops at the start", "one, two", [](Field& f) { f.key(Key::Left, k_primary, 5); }, "one, two",
     {0, 0}},
    {"primary+right jumps to word ends in non-ASCII words", "über straße!",
     [](Field& f) { f.key(Key::Home).key(Key::Right, k_primary); }, "über straße!", {5, 5}},
    {"primary+shift+right extends by words", "über straße!",
     [](Field& f) { f.key(Key::Home).key(Key::Right, k_primary_shift, 2); }, "über straße!", {0, 13}},
    {"primary+backspace deletes the word before the caret", "path/to/file",
     [](Field& f) { f.key(Key::Backspace, k_primary); }, "path/to/", {8, 8}},
    {"primary+delete deletes up to the end of the next word", "alpha beta",
     [](Field& f) { f.key(Key::Home).key(Key::Delete, k_primary); }, " beta", {0, 0}},
    {"primary+a then typing replaces everything", "old", [](Field& f) { f.shortcut(U'a').type("new"); }, "new",
     {3, 3}},
    {"backspace with a selection deletes only the selection", "abcdef",
     [](Field& f) { f.key(Key::Left).key(Key::Left, k_shift, 2).key(Key::Backspace); }, "abcf", {3, 3}},
    {"typed line breaks and tabs become spaces, controls go", "", [](Field& f) { f.type("a\r\nb\tc\x07"); },
     "a b c", {5, 5}},
};

}

TEST(TextInput, EditingKeysAndTyping)
{
    for (const auto& c : k_edit_cases) {
        SCOPED_TRACE(c.name);
        Field f(c.start);
        c.act(f);
        EXPECT_EQ(f.input.text(), c.text);
        EXPECT_EQ(f.input.selection().anchor, c.selection.anchor);
        EXPECT_EQ(f.input.selection().caret, c.selection.caret);
    }
}

TEST(TextInput, ReportsChangesOnceAndNeverLosesSubmitOrCancel)
{
    Field f;
    f.type("a").type("b").key(Key::Enter);
    EXPECT_EQ(f.outcomes(), (std::vector{Outcome::Changed, Outcome::Submitted}));
    f.key(Key::Escape).type("c");
    EXPECT_EQ(f.outcomes(), (std::vector{Outcome::Cancelled, Outcome::Changed}));
    f.key(Key::Left).key(Key::Home).key(Key::Backspace);
    EXPECT_TRUE(f.outcomes().empty()) << "moves and a backspace at the start change nothing";
    f.input.set_text("set by the owner");
    EXPECT_TRUE(f.outcomes().empty());
}

TEST(TextInput, LeavesKeysAloneWhenNotEditingAndPlainCharactersToTextEvents)
{
    Field f("abc");
    EXPECT_EQ(f.input.handle_event(KeyEvent{Key::Character, U'x', {}, false}), EventResult::Ignored)
        << "the window turns an untaken character key into text";
    EXPECT_EQ(f.input.handle_event(KeyEvent{Key::Character, U'l', k_primary, false}), EventResult::Ignored)
        << "other shortcuts stay with the application";
    EXPECT_EQ(f.input.handle_event(KeyEvent{Key::Down, 0, {}, false}), EventResult::Ignored);
    f.input.end_edit();
    EXPECT_EQ(f.input.handle_event(KeyEvent{Key::Backspace, 0, {}, false}), EventResult::Ignored);
    EXPECT_EQ(f.input.handle_event(TextEvent{"x"}), EventResult::Ignored);
    EXPECT_EQ(f.input.text(), "abc");
}

TEST(TextInput, CopyCutAndPasteGoThroughTheClipboard)
{
    Field f("hello world");
    f.key(Key::Left, k_primary_shift).shortcut(U'c');
    EXPECT_EQ(clipboard_paste_text(), "world");
    EXPECT_EQ(f.input.text(), "hello world");

    f.shortcut(U'x');
    EXPECT_EQ(f.input.text(), "hello ");
    f.key(Key::Home).shortcut(U'v');
    EXPECT_EQ(f.input.text(), "worldhello ");
    EXPECT_EQ(f.input.caret(), 5u);
    EXPECT_EQ(f.outcomes(), (std::vector{Outcome::Changed}));

    ASSERT_TRUE(clipboard_copy("two\nlines"));
    f.shortcut(U'a').shortcut(U'v');
    EXPECT_EQ(f.input.text(), "two lines") << "a pasted line break becomes a space";

    f.key(Key::End).shortcut(U'x');
    EXPECT_EQ(f.input.text(), "two lines") << "cut without a selection does nothing";
    EXPECT_EQ(clipboard_paste_text(), "two\nlines");
}

TEST(TextInput, CompositionIsShownButOnlyTheCommitBecomesText)
{
    Field f("ab");
    f.key(Key::Left);
    float caret_before = f.input.caret_x();
    f.input.handle_event(ImeEvent{"ni", ""});
    EXPECT_EQ(f.input.text(), "ab");
    EXPECT_EQ(f.input.preedit(), "ni");
    EXPECT_GT(f.input.caret_x(), caret_before) << "the caret sits after the composition";
    EXPECT_TRUE(f.outcomes().empty());

    f.input.handle_event(ImeEvent{"", "你"});
    EXPECT_EQ(f.input.text(), "a你b");
    EXPECT_EQ(f.input.preedit(), "");
    EXPECT_EQ(f.input.caret(), 4u);
    EXPECT_EQ(f.outcomes(), (std::vector{Outcome::Changed}));

    f.input.handle_event(ImeEvent{"x", ""});
    f.input.handle_event(ImeEvent{"", ""});
    EXPECT_EQ(f.input.preedit(), "") << "an empty composition clears it";
    EXPECT_EQ(f.input.text(), "a你b");

    f.shortcut(U'a');
    f.input.handle_event(ImeEvent{"k", ""});
    EXPECT_EQ(f.input.text(), "") << "a composition replaces the selection";
}

TEST(TextInput, PointerPlacesTheCaretSelectsByDragAndWords)
{
    Field f("hello world");
    f.input.end_edit();
    float l_left = f.x_of(3), l_right = f.x_of(4);
    f.pointer(PointerAction::Down, l_left + (l_right - l_left) * 0.4f);
    f.pointer(PointerAction::Up, l_left + (l_right - l_left) * 0.4f);
    EXPECT_TRUE(f.input.editing()) << "a press begins editing";
    EXPECT_EQ(f.input.caret(), 3u) << "left of the letter's middle";
    f.pointer(PointerAction::Down, l_left + (l_right - l_left) * 0.6f);
    EXPECT_EQ(f.input.caret(), 4u) << "right of the letter's middle";

    f.pointer(PointerAction::Move, f.x_of(11) + 50);
    f.pointer(PointerAction::Up, f.x_of(11) + 50);
    EXPECT_EQ(f.input.selection(), (TextSelection{4, 11})) << "drag past the end";

    f.pointer(PointerAction::Down, f.x_of(1), 1, k_shift);
    EXPECT_EQ(f.input.selection(), (TextSelection{4, 1})) << "shift+press extends from the anchor";
    f.pointer(PointerAction::Up, f.x_of(1));

    f.pointer(PointerAction::Down, f.x_of(8) + 1, 2);
    EXPECT_EQ(f.input.selection(), (TextSelection{6, 11})) << "double click selects the word";

    EXPECT_EQ(f.pointer(PointerAction::Down, 400), EventResult::Ignored) << "outside the field";
    EXPECT_EQ(f.input.selection(), (TextSelection{6, 11}));
}

TEST(TextInput, ScrollsToKeepTheCaretInsideANarrowField)
{
    Field f("", 80);
    f.type("a long line of text that cannot fit");
    float inner_left = f.input.bounds().left + f.theme.px(TextInput::k_inner_margin);
    float inner_right = f.input.bounds().right - f.theme.px(TextInput::k_inner_margin);
    EXPECT_GT(f.input.scroll_x(), 0);
    EXPECT_LE(f.input.caret_x(), inner_right);
    EXPECT_GE(f.input.caret_x(), inner_left);

    f.key(Key::Home);
    EXPECT_FLOAT_EQ(f.input.scroll_x(), 0);
    EXPECT_FLOAT_EQ(f.input.caret_x(), inner_left);

    f.key(Key::End).shortcut(U'a').key(Key::Backspace).type("ab");
    EXPECT_FLOAT_EQ(f.input.scroll_x(), 0) << "short text is not left scrolled away";
}

TEST(TextInput, DrawsLongTextClippedToTheField)
{
    Theme theme = shot_theme();
    TextInput input("field", "Name");
    input.set_text(std::string(80, 'W'));
    input.begin_edit();
    auto frame = ShotFrame::create({300, 60}, theme);
    frame.layout(input);
    input.layout(Rect{10, 10, 110, 42}, theme);
    frame.draw(input);
    uint32_t background = 0xff000000u | (uint32_t(theme.window_background.r) << 16)
                        | (uint32_t(theme.window_background.g) << 8) | theme.window_background.b;
    // The caret is at the end, so the text overflows on the left; the other side is checked too.
    for (int x = 0; x < 300; x += 2) {
        if (x >= 9 && x <= 111)
            continue;
        ASSERT_EQ(frame.pixel(x, 26), background) << "x " << x;
    }
    bool inked = false;
    for (int x = 20; x < 100; ++x)
        inked |= frame.pixel(x, 26) != frame.pixel(60, 37);
    EXPECT_TRUE(inked) << "the text shows inside";
}

TEST(TextInput, AccessibleAsATextInput)
{
    Field f("draft");
    std::vector<AccessNode> nodes;
    f.input.accessibility(nodes);
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].role, AccessRole::TextInput);
    EXPECT_EQ(nodes[0].name, "Type a name");
    EXPECT_EQ(nodes[0].value, "draft");
    EXPECT_TRUE(nodes[0].states & k_state_focused);

    f.input.set_label("File name");
    f.input.end_edit();
    nodes.clear();
    f.input.accessibility(nodes);
    EXPECT_EQ(nodes[0].name, "File name");
    EXPECT_FALSE(nodes[0].states & k_state_focused);
}
