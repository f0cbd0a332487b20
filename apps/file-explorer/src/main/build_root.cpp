#include "main/build_root.hpp"
#include "kavo_services/hex.hpp"

#include "i18n/catalog.hpp"
#include "kavo_services/app_dirs.hpp"
#include "kavo_ui/sysdirs.hpp"
#include "main/share_link.hpp"
#include "received_shares/admission.hpp"

#include <algorithm>
#include <unistd.h>

namespace files::launch {

namespace {


std::optional<std::string> decode_file_uri(std::string_view uri)
{
    constexpr std::string_view scheme = "file://";
    if (uri.substr(0, scheme.size()) != scheme)
        return std::nullopt;
    std::string_view rest = uri.substr(scheme.size());
    // Only local files: an empty host or "localhost".
    if (rest.starts_with("localhost/"))
        rest.remove_prefix(std::string_view("localhost").size());
    if (!rest.starts_with("/"))
        return std::nullopt;
    std::string out;
    for (size_t i = 0; i < rest.size(); ++i) {
        int high = i + 2 < rest.size() ? kavo_services::hex_digit_value(rest[i + 1]) : -1;
        int low = i + 2 < rest.size() ? kavo_services::hex_digit_value(rest[i + 2]) : -1;
        if (rest[i] == '%' && high >= 0 && low >= 0) {
            out.push_back(char(high * 16 + low));
            i += 2;
        } else if (rest[i] == '?' || rest[i] == '#') {
            break;
        } else {
            out.push_back(rest[i]);
        }
    }
    return out;
}

}

std::optional<std::filesystem::path> config_dir() { return kavo_services::AppDirs::config("kavo-files"); }

std::filesystem::path start_folder() { return kavo_ui::sysdirs::user_home().value_or("/"); }

std::expected<std::filesystem::path, std::string> folder_argument(const std::string& arg)
{
    std::filesystem::path path = decode_file_uri(arg).value_or(arg);
    if (path.empty())
        return std::unexpected("cannot make an empty path absolute");
    std::error_code ec;
    auto absolute = std::filesystem::absolute(path, ec);
    if (ec)
        return std::unexpected(ec.message());
    return absolute;
}

std::expected<std::unique_ptr<app::FileExplorerWidget>, kavo_ui::LaunchError> build_root(const kavo_ui::LaunchArgs& args)
{
    const auto& raw = args.raw();
    bool share_stdin = std::find(raw.begin(), raw.end(), "--open-share-stdin") != raw.end();
    std::optional<received_shares::AdmissionOutcome> share;
    if (share_stdin) {
        auto link = read_shared_link(STDIN_FILENO);
        if (link)
            share = received_shares::admit_shared_link(*link);
        else
            share = received_shares::AdmissionOutcome{false, i18n::t(link.error()), std::nullopt, false};
    }

    auto widget = app::FileExplorerWidget::create(config_dir(), start_folder());
    if (!share) {
        if (!args.positional().empty()) {
            auto folder = folder_argument(args.positional().front());
            if (!folder)
                return std::unexpected(kavo_ui::LaunchError{folder.error()});
            widget->navigate(*folder);
        }
        return widget;
    }
    if (!share->admitted) {
        widget->set_status(share->failure);
    } else if (!share->local_path) {
        widget->set_status(i18n::t("files-received-admitted"));
    } else {
        // Navigating clears the status, so the outcome is told after it.
        widget->navigate(*share->local_path);
        widget->set_status(i18n::t(share->received_file ? "files-received-file" : "files-received-mount-starting"));
    }
    return widget;
}

}
