#pragma once

#include "fileops/unique_fd.hpp"

#include <expected>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace files::fileops {

inline constexpr std::string_view k_no_temporary_folder = "could not reserve a temporary extraction folder";
inline constexpr std::string_view k_destination_exists = "the destination already exists";

// The hidden folder an extraction writes into, next to its destination, and the only place it
// writes. Everything is created relative to descriptors of folders made here, with O_NOFOLLOW
// and O_EXCL, so no path inside can lead outside, even if something puts a link into the folder
// while it fills. Unless it was published, the folder is removed with everything in it when
// the object goes.
class ExtractionFolder {
public:
    // Creates "." + name + ".extracting-" + pid + "-" + n in `parent` for the first n of
    // 0…999 that is free. `parent` must exist.
    static std::expected<std::unique_ptr<ExtractionFolder>, std::string> reserve(const std::filesystem::path& parent,
                                                                                 const std::string& name);
    ExtractionFolder(const ExtractionFolder&) = delete;
    ExtractionFolder& operator=(const ExtractionFolder&) = delete;
    ~ExtractionFolder();

    const std::string& temporary_name() const { return m_temporary_name; }

    // `relative` is a rebuilt entry path ("/"-joined ordinary components). Creates the folder
    // with all missing ancestors; an existing folder is fine, anything else there is an error.
    std::expected<void, std::string> make_folder(std::string_view relative);
    // Creates the missing parent folders and then the file itself exclusively (0666 before the
    // umask), open for writing.
    std::expected<UniqueFd, std::string> create_file(std::string_view relative);

    // Gives the folder its final name in the same parent without replacing anything there: a
    // name that was taken meanwhile, even by an empty folder, is k_destination_exists.
    std::expected<void, std::string> publish();

private:
    ExtractionFolder(UniqueFd parent, std::string temporary_name, std::string name, UniqueFd root);
    std::expected<int, std::string> folder_fd(std::string_view relative);

    UniqueFd m_parent;
    std::string m_temporary_name;
    std::string m_name;
    UniqueFd m_root;
    // Descriptors of folders files were recently created in; archives list the members of a
    // folder together, so most files find their parent here.
    std::unordered_map<std::string, UniqueFd> m_folders;
    bool m_published = false;
};

}
