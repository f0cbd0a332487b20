#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace files::app {

enum class PlaceholderKind { Loading, LoadError, EmptyTrash, EmptyFolder };

struct Placeholder {
    PlaceholderKind kind;
    std::string title;
    std::string detail;  // empty when there is none
};

struct PlaceholderState {
    bool loading;
    const std::optional<std::string>* load_error;
    size_t entry_count;
    bool in_trash;
    const std::filesystem::path* folder;
};

// What the content column shows instead of the file view, if anything.
std::optional<Placeholder> placeholder_for(const PlaceholderState& state);

// The part of an error after its first ": ", cut to 25 characters and "…" when over 26.
std::string short_error_text(std::string_view error);
// A display path over 22 characters as "…" and its last 21 characters.
std::string short_display_path(std::string_view path);

}
