#pragma once

#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace files::fileops {

// A name prepared for numbering. The fields hold the name's own bytes, so that a numbered copy of
// a name that is not valid UTF-8 keeps the rest of its name; show them through lossy_utf8. Only
// the last dot counts (archive.tar.gz: stem archive.tar, extension gz), a leading dot does not
// (.profile has no extension), and a final dot gives an empty extension (draft.).
struct NameParts {
    std::string full;
    std::string stem;
    std::optional<std::string> extension;

    // Splits the final component of `name`.
    static NameParts split(const std::filesystem::path& name);
};

// The candidate for attempt `n`: the full name for n = 1, else "stem n.extension" or "stem n".
std::string numbered_name(const NameParts& parts, unsigned n);

// The last number tried before a destination counts as exhausted.
inline constexpr unsigned k_last_numbered_name = 9999;

// A name typed for an item, trimmed of Unicode white space at both ends; the trimmed text is the
// name to use. Fails with the display text for an empty name, one holding "/", "." and "..".
std::expected<std::string, std::string> validate_item_name(std::string_view text);
// The same rule for a new folder, whose empty name has a message of its own.
std::expected<std::string, std::string> validate_folder_name(std::string_view text);

enum class Probe { Free, Taken };

// Whether anything, a dangling link included, exists at `path` (a final link is not followed);
// a status that cannot be read for another reason than "not found" is a failure.
std::expected<Probe, std::string> probe_destination(const std::filesystem::path& path);

// The first free path among folder/name, "name 2" … "name 9999". The answer is only a snapshot:
// whoever creates the item must still create it without replacing anything.
std::expected<std::filesystem::path, std::string> choose_free_destination(const std::filesystem::path& folder,
                                                                          std::string_view name);

// Creates a folder under the validated, numbered name (New Folder, New Folder 2, …) with mode
// 0777 before the umask, and returns its path.
std::expected<std::filesystem::path, std::string> create_folder(const std::filesystem::path& folder,
                                                                std::string_view name);

// Gives an item another name inside its own folder and returns the new path. Never replaces
// another item; a new spelling of the same item (a change of case on a case-insensitive file
// system) is allowed, and the item's own name succeeds without touching anything.
std::expected<std::filesystem::path, std::string> rename_item(const std::filesystem::path& current,
                                                              std::string_view new_name);

}
