#pragma once

#include <string>
#include <string_view>

namespace kavo_ui {

enum class FontWeight { Regular, Medium, Semibold, Bold };

// UI text is set in Inter; fontconfig supplies glyphs Inter lacks.
struct TextStyle {
    float size = 13;  // logical pixels
    FontWeight weight = FontWeight::Regular;
    bool operator==(const TextStyle&) const = default;
};

enum class Elide { None, End, Middle };

// Text measurement, on the UI thread. Widths and heights are in logical pixels.
float text_width(std::string_view text, const TextStyle& style);
float line_height(const TextStyle& style);
float text_ascent(const TextStyle& style);
// The text cut to fit max_width with "…" at the given place; the text itself when it fits.
std::string elide_text(std::string_view text, const TextStyle& style, float max_width, Elide mode = Elide::End);

}
