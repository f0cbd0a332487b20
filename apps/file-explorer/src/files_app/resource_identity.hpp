#pragma once

#include "model/directory_entry.hpp"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace files::app {

// The identity of a local file or folder: the first 16 bytes of SHA-256 over a fixed domain
// string, the path's byte length (64-bit big-endian) and the path bytes, as 32 hex digits. It
// depends on the path bytes only, so it is the same in every run.
std::string local_resource_id(const std::filesystem::path& path);

// The 36-character RFC 4122 text of a 16-byte UUID, and back.
std::string uuid_text(const std::array<uint8_t, 16>& uuid);
std::optional<std::array<uint8_t, 16>> parse_uuid(std::string_view text);

std::string folder_identity(const std::filesystem::path& folder);
// "files.record:<uuid>" for an entry with a collaborative record, else "files.entry:<id>".
std::string entry_identity(const model::DirectoryEntry& entry);
std::string place_identity(const std::filesystem::path& place);
// "files.template:" and the template's file name.
std::string template_identity(const std::filesystem::path& template_path);

}
