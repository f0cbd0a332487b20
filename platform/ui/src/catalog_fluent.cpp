#include "kavo_ui/catalog.hpp"

#include <algorithm>

namespace kavo_ui::fluent {

namespace {

bool is_blank(std::string_view line) { return line.find_first_not_of(" \t\r") == std::string_view::npos; }
bool is_key_start(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_key_char(char c) { return is_key_start(c) || (c >= '0' && c <= '9') || c == '-' || c == '_'; }

std::vector<std::string_view> split_lines(std::string_view s)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start <= s.size()) {
        size_t nl = s.find('\n', start);
        if (nl == std::string_view::npos) {
            if (start < s.size())
                lines.push_back(s.substr(start));
            break;
        }
        std::string_view line = s.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = nl + 1;
    }
    return lines;
}

// Parses the placeables and text of one message body (already joined and dedented).
class PatternParser {
public:
    PatternParser(std::string_view text, size_t first_line) : m_text(text), m_line(first_line) {}

    std::expected<Pattern, ParseError> parse_all()
    {
        auto p = parse_pattern(false);
        if (!p)
            return p;
        if (m_pos != m_text.size())
            return fail("unexpected \"}\"");
        return p;
    }

private:
    std::unexpected<ParseError> fail(std::string message) const
    {
        size_t line = m_line + size_t(std::count(m_text.begin(), m_text.begin() + long(std::min(m_pos, m_text.size())), '\n'));
        return std::unexpected(ParseError{line, std::move(message)});
    }

    void skip_spaces(bool newlines)
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || (newlines && m_text[m_pos] == '\n')))
            ++m_pos;
    }

    // A pattern runs to the end, or (inside a variant) to the end of its line.
    std::expected<Pattern, ParseError> parse_pattern(bool in_variant)
    {
        Pattern pattern;
        std::string text;
        auto flush = [&] {
            if (!text.empty())
                pattern.elements.emplace_back(std::move(text));
            text.clear();
        };
        while (m_pos < m_text.size()) {
            char c = m_text[m_pos];
            if (in_variant && c == '\n')
                break;
            if (c == '}')
                break;
            if (c == '{') {
                flush();
                auto element = parse_placeable();
                if (!element)
                    return std::unexpected(element.error());
                if (auto* literal = std::get_if<std::string>(&*element))
                    text += *literal;
                else
                    pattern.elements.push_back(std::move(*element));
                continue;
            }
            text.push_back(c);
            ++m_pos;
        }
        // Trailing blanks of a pattern are not part of it.
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n'))
            text.pop_back();
        flush();
        if (!pattern.elements.empty())
            if (auto* last = std::get_if<std::string>(&pattern.elements.back()); last && last->empty())
                pattern.elements.pop_back();
        return pattern;
    }

    std::expected<std::string, ParseError> parse_identifier()
    {
        size_t start = m_pos;
        if (m_pos >= m_text.size() || !is_key_start(m_text[m_pos]))
            return fail("expected a name");
        while (m_pos < m_text.size() && is_key_char(m_text[m_pos]))
            ++m_pos;
        return std::string(m_text.substr(start, m_pos - start));
    }

    std::expected<Element, ParseError> parse_placeable()
    {
        ++m_pos;  // '{'
        skip_spaces(true);
        if (m_pos >= m_text.size())
            return fail("unterminated placeable");
        if (m_text[m_pos] == '"') {
            ++m_pos;
            std::string literal;
            while (m_pos < m_text.size() && m_text[m_pos] != '"') {
                if (m_text[m_pos] == '\n')
                    return fail("unterminated string literal");
                if (m_text[m_pos] == '\\' && m_pos + 1 < m_text.size())
                    ++m_pos;
                literal.push_back(m_text[m_pos++]);
            }
            if (m_pos >= m_text.size())
                return fail("unterminated string literal");
            ++m_pos;
            skip_spaces(true);
            if (m_pos >= m_text.size() || m_text[m_pos] != '}')
                return fail("expected \"}\" after a string literal");
            ++m_pos;
            return Element(std::move(literal));
        }
        if (m_text[m_pos] != '$')
            return fail("only variable references and string literals may stand in a placeable");
        ++m_pos;
        auto name = parse_identifier();
        if (!name)
            return std::unexpected(name.error());
        skip_spaces(true);
        if (m_text.substr(m_pos, 2) == "->") {
            m_pos += 2;
            auto select = parse_variants(std::move(*name));
            if (!select)
                return std::unexpected(select.error());
            return Element(std::move(*select));
        }
        if (m_pos >= m_text.size() || m_text[m_pos] != '}')
            return fail("expected \"}\" after $" + *name);
        ++m_pos;
        return Element(VariableRef{std::move(*name)});
    }

    std::expected<Select, ParseError> parse_variants(std::string variable)
    {
        Select select;
        select.variable = std::move(variable);
        bool has_default = false;
        while (true) {
            skip_spaces(true);
            if (m_pos >= m_text.size())
                return fail("unterminated selector");
            if (m_text[m_pos] == '}') {
                ++m_pos;
                break;
            }
            bool is_default = false;
            if (m_text[m_pos] == '*') {
                is_default = true;
                ++m_pos;
            }
            if (m_pos >= m_text.size() || m_text[m_pos] != '[')
                return fail("expected a variant key in [brackets]");
            ++m_pos;
            size_t close = m_text.find(']', m_pos);
            if (close == std::string_view::npos || m_text.substr(m_pos, close - m_pos).find('\n') != std::string_view::npos)
                return fail("unterminated variant key");
            std::string key(m_text.substr(m_pos, close - m_pos));
            key.erase(0, key.find_first_not_of(' '));
            key.erase(key.find_last_not_of(' ') + 1);
            if (key.empty())
                return fail("empty variant key");
            m_pos = close + 1;
            skip_spaces(false);
            auto value = parse_pattern(true);
            if (!value)
                return std::unexpected(value.error());
            if (is_default) {
                if (has_default)
                    return fail("a selector has one default variant");
                has_default = true;
                select.default_index = select.variants.size();
            }
            select.variants.push_back({std::move(key), std::make_shared<const Pattern>(std::move(*value))});
        }
        if (!has_default)
            return fail("a selector needs a default variant marked with *");
        return select;
    }

    std::string_view m_text;
    size_t m_line;
    size_t m_pos = 0;
};

}

std::expected<Resource, ParseError> parse(std::string_view source)
{
    Resource resource;
    auto lines = split_lines(source);
    std::string section;
    bool seen_message_or_section = false;
    std::vector<std::string> seen_keys;
    for (size_t i = 0; i < lines.size();) {
        std::string_view line = lines[i];
        size_t line_no = i + 1;
        if (is_blank(line)) {
            ++i;
            continue;
        }
        if (line.front() == '#') {
            if (line.starts_with("## ") || line == "##") {
                section = std::string(line.size() > 3 ? line.substr(3) : std::string_view{});
                seen_message_or_section = true;
            } else if (!seen_message_or_section && (line.starts_with("# ") || line == "#")) {
                resource.header_comments.emplace_back(line.size() > 2 ? line.substr(2) : std::string_view{});
            } else if (!line.starts_with("#") || (line.size() > 1 && line[1] != ' ' && line[1] != '#')) {
                return std::unexpected(ParseError{line_no, "a comment starts with \"# \""});
            }
            ++i;
            continue;
        }
        if (line.front() == ' ' || line.front() == '\t')
            return std::unexpected(ParseError{line_no, "indented line outside a message"});
        if (!is_key_start(line.front()))
            return std::unexpected(ParseError{line_no, "expected a message key"});
        size_t k = 0;
        while (k < line.size() && is_key_char(line[k]))
            ++k;
        std::string key(line.substr(0, k));
        size_t eq = line.find_first_not_of(' ', k);
        if (eq == std::string_view::npos || line[eq] != '=')
            return std::unexpected(ParseError{line_no, "expected \"=\" after " + key});
        if (std::find(seen_keys.begin(), seen_keys.end(), key) != seen_keys.end())
            return std::unexpected(ParseError{line_no, "duplicate message " + key});
        seen_keys.push_back(key);
        seen_message_or_section = true;

        // The body: the rest of the first line, then every following indented line (blank lines
        // inside a body belong to it when more indented lines follow).
        std::string_view first = line.substr(eq + 1);
        first.remove_prefix(std::min(first.find_first_not_of(' '), first.size()));
        std::vector<std::string_view> continuation;
        size_t j = i + 1;
        while (j < lines.size()) {
            if (is_blank(lines[j])) {
                size_t n = j;
                while (n < lines.size() && is_blank(lines[n]))
                    ++n;
                if (n < lines.size() && (lines[n].front() == ' ' || lines[n].front() == '\t')) {
                    for (; j < n; ++j)
                        continuation.push_back({});
                    continue;
                }
                break;
            }
            if (lines[j].front() != ' ' && lines[j].front() != '\t')
                break;
            // A line starting "[" "*" "}" or "." after its indent is syntax, not text, so it
            // is kept even though it is indented.
            continuation.push_back(lines[j]);
            ++j;
        }
        size_t indent = std::string_view::npos;
        for (auto c : continuation)
            if (!c.empty())
                indent = std::min(indent, c.find_first_not_of(" \t"));
        std::string body(first);
        for (auto c : continuation) {
            body.push_back('\n');
            if (!c.empty())
                body.append(c.substr(std::min(indent, c.size())));
        }
        // A body that starts on the next line has no leading newline.
        while (!body.empty() && body.front() == '\n')
            body.erase(0, 1);
        if (body.empty())
            return std::unexpected(ParseError{line_no, "message " + key + " has no value"});
        PatternParser parser(body, first.empty() ? line_no + 1 : line_no);
        auto pattern = parser.parse_all();
        if (!pattern)
            return std::unexpected(pattern.error());
        resource.messages.push_back({std::move(key), std::move(*pattern), section, line_no});
        i = j;
    }
    return resource;
}

namespace {

void collect(const Pattern& p, std::vector<std::string>& vars, std::vector<std::vector<std::string>>* keys)
{
    for (const auto& e : p.elements) {
        if (auto* v = std::get_if<VariableRef>(&e)) {
            vars.push_back(v->name);
        } else if (auto* s = std::get_if<Select>(&e)) {
            vars.push_back(s->variable);
            if (keys) {
                std::vector<std::string> k;
                for (size_t i = 0; i < s->variants.size(); ++i)
                    k.push_back((i == s->default_index ? "*" : "") + s->variants[i].key);
                keys->push_back(std::move(k));
            }
            for (const auto& variant : s->variants)
                collect(*variant.value, vars, keys);
        }
    }
}

}

std::vector<std::string> variables_of(const Pattern& pattern)
{
    std::vector<std::string> vars;
    collect(pattern, vars, nullptr);
    std::sort(vars.begin(), vars.end());
    vars.erase(std::unique(vars.begin(), vars.end()), vars.end());
    return vars;
}

std::vector<std::vector<std::string>> selector_keys_of(const Pattern& pattern)
{
    std::vector<std::string> vars;
    std::vector<std::vector<std::string>> keys;
    collect(pattern, vars, &keys);
    return keys;
}

}
