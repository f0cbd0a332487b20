#include "fileops/templates.hpp"

#include "i18n/catalog.hpp"
#include "kavo_services/utf8.hpp"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files::fileops {

std::optional<std::filesystem::path> templates_folder(const std::optional<std::filesystem::path>& home)
{
    if (const char* value = std::getenv("XDG_TEMPLATES_DIR")) {
        std::string_view v(value);
        auto first = v.find_first_not_of(" \t\r\n\f\v");
        if (first != std::string_view::npos) {
            auto last = v.find_last_not_of(" \t\r\n\f\v");
            return std::filesystem::path(std::string(v.substr(first, last - first + 1)));
        }
    }
    if (home)
        return *home / "Templates";
    return std::nullopt;
}

std::vector<Template> list_templates(const std::optional<std::filesystem::path>& folder)
{
    std::vector<Template> out;
    if (!folder)
        return out;
    int fd = ::open(folder->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return out;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return out;
    }
    while (dirent* d = ::readdir(dir)) {
        if (d->d_name[0] == '.')
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        std::filesystem::path path = *folder / d->d_name;
        std::string stem = kavo_services::lossy_utf8(path.stem());
        if (stem.empty())
            stem = kavo_services::lossy_utf8(path.filename());
        out.push_back({path, i18n::t_args("files-new-from-template", {i18n::arg("name", stem)})});
    }
    ::closedir(dir);
    std::sort(out.begin(), out.end(), [](const Template& a, const Template& b) { return a.path.native() < b.path.native(); });
    return out;
}

}
