#include "kavo_trash/trash.hpp"

#include "item_mover.hpp"
#include "kavo_services/app_dirs.hpp"
#include "kavo_services/utf8.hpp"
#include "trash_listing.hpp"
#include "trash_location.hpp"
#include "trashed_item_ops.hpp"

namespace kavo_trash {

namespace {

using kavo_services::lossy_utf8;

std::expected<std::filesystem::path, std::string> trash_one(TrashLocator& locator, const std::filesystem::path& given)
{
    auto item = locate_item(given);
    if (!item)
        return std::unexpected(item.error());
    auto root = locator.root_for(item->real_path, item->status.st_dev);
    if (!root)
        return std::unexpected(root.error());
    if (auto outside = check_outside_trash(*item, *root); !outside)
        return std::unexpected(outside.error());
    return move_into_trash(*item, *root);
}

std::string trash_failure(const std::filesystem::path& given, const std::string& reason, size_t done)
{
    std::string text = lossy_utf8(given) + ": " + reason;
    if (done == 1)
        text += " (the item before it is in the Trash)";
    else if (done > 1)
        text += " (the " + std::to_string(done) + " items before it are in the Trash)";
    return text;
}

// Runs `step` on every item, also after failures, and counts the successes; failures are
// listed as "path: reason".
template<typename Step, typename PathOf>
std::expected<size_t, std::string> for_each_item(const std::vector<TrashedItem>& items, Step step, PathOf path_of)
{
    size_t done = 0;
    std::string failures;
    for (const auto& item : items) {
        auto outcome = step(item);
        if (outcome) {
            ++done;
            continue;
        }
        if (!failures.empty())
            failures += "; ";
        failures += lossy_utf8(path_of(item)) + ": " + outcome.error();
    }
    if (!failures.empty())
        return std::unexpected(failures);
    return done;
}

}

std::optional<std::filesystem::path> home_trash()
{
    auto data = kavo_services::AppDirs::data_dir();
    if (!data)
        return std::nullopt;
    return *data / "Trash";
}

std::expected<std::vector<std::filesystem::path>, std::string> trash_paths(const std::vector<std::filesystem::path>& paths)
{
    TrashLocator locator;
    std::vector<std::filesystem::path> created;
    for (const auto& path : paths) {
        auto moved = trash_one(locator, path);
        if (!moved)
            return std::unexpected(trash_failure(path, moved.error(), created.size()));
        created.push_back(std::move(*moved));
    }
    return created;
}

std::expected<std::vector<TrashedItem>, std::string> list_trashed()
{
    std::vector<TrashedItem> items;
    for (const auto& root : existing_trash_roots()) {
        auto listed = list_trash_root(root, items);
        // Another file system's trash that cannot be read hides only its own items; the home
        // trash is the one the user relies on, so its failure is reported.
        if (!listed && !root.top_dir)
            return std::unexpected(listed.error());
    }
    return items;
}

std::expected<size_t, std::string> restore(const std::vector<TrashedItem>& items)
{
    return for_each_item(items, restore_item, [](const TrashedItem& item) { return item.original_path; });
}

std::expected<size_t, std::string> purge(const std::vector<TrashedItem>& items)
{
    return for_each_item(items, purge_item, [](const TrashedItem& item) { return item.files_path; });
}

}
