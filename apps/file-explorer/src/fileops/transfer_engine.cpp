#include "fileops/transfer_engine.hpp"

#include "fileops/handles.hpp"
#include "fileops/item_path.hpp"
#include "fileops/names.hpp"
#include "fileops/os_text.hpp"
#include "fileops/random_id.hpp"
#include "fileops/remove_tree.hpp"
#include "fileops/rename_no_replace.hpp"
#include "fileops/staging_area.hpp"
#include "i18n/catalog.hpp"
#include "kavo_services/utf8.hpp"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <spdlog/spdlog.h>
#include <sys/stat.h>
#include <variant>

namespace files::fileops {

namespace {

using std::filesystem::path;

constexpr int k_name_attempts = 32;
constexpr const char* k_quarantine_prefix = ".kavo-transfer-source-";

std::expected<path, std::string> resolve(const path& p)
{
    std::error_code ec;
    path resolved = std::filesystem::canonical(p, ec);
    if (ec)
        return std::unexpected(os_text(ec.value()));
    return resolved;
}

std::optional<path> canonical_or_unset(const std::optional<path>& p)
{
    if (!p)
        return std::nullopt;
    auto resolved = resolve(*p);
    return resolved ? std::optional<path>(*resolved) : std::nullopt;
}

// Component-wise: /a/bc is not inside /a/b.
bool is_same_or_inside(const path& inner, const path& outer)
{
    return std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end()).first == outer.end();
}

std::string names_exhausted(const path& name, const path& folder)
{
    return i18n::t_args("files-destination-names-exhausted",
                        {i18n::arg("name", kavo_services::lossy_utf8(name)), i18n::arg("path", kavo_services::lossy_utf8(folder))});
}

// Moving a folder to another parent rewrites its ".." entry, which the kernel allows only with
// write permission on the folder itself. A copied read-only folder gets that permission for the
// moment of its placement; the handle follows the folder through the rename.
class PlacementGrant {
public:
    explicit PlacementGrant(const path& payload)
    {
        UniqueFd fd(::open(payload.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat st;
        if (!fd || ::fstat(fd.get(), &st) != 0 || (st.st_mode & S_IWUSR) != 0)
            return;
        m_mode = st.st_mode & 07777;
        if (::fchmod(fd.get(), m_mode | S_IWUSR) == 0)
            m_fd = std::move(fd);
    }
    PlacementGrant(const PlacementGrant&) = delete;
    PlacementGrant& operator=(const PlacementGrant&) = delete;
    ~PlacementGrant()
    {
        if (m_fd)
            ::fchmod(m_fd.get(), m_mode);
    }

private:
    UniqueFd m_fd;
    mode_t m_mode = 0;
};

// Where a no-replace rename into the first free numbered name ended. A name taken between the
// probe and the rename moves on to the next number.
struct ProbeFailed {
    std::string text;
};
struct NamesExhausted {};
struct RenameFailed {
    int errnum;
};
using Placement = std::variant<path, ProbeFailed, NamesExhausted, RenameFailed>;

Placement rename_into(const path& from, const path& folder, const NameParts& parts)
{
    for (unsigned n = 1; n <= k_last_numbered_name; ++n) {
        path candidate = folder / numbered_name(parts, n);
        auto probe = probe_destination(candidate);
        if (!probe)
            return ProbeFailed {probe.error()};
        if (*probe == Probe::Taken)
            continue;
        auto renamed = rename_no_replace(from, candidate);
        if (renamed)
            return candidate;
        if (renamed.error() != EEXIST)
            return RenameFailed {renamed.error()};
    }
    return NamesExhausted {};
}

std::expected<path, std::string> quarantine_source(const path& source, const path& parent)
{
    for (int attempt = 0; attempt < k_name_attempts; ++attempt) {
        path quarantine = parent / (k_quarantine_prefix + random_identifier());
        auto renamed = rename_no_replace(source, quarantine);
        if (renamed)
            return quarantine;
        if (renamed.error() != EEXIST)
            return std::unexpected(os_text(renamed.error()));
    }
    return std::unexpected("could not allocate private source quarantine");
}

// Copies the staged payload back to where the source was. The copy is written under a hidden
// name next to it and renamed into place, so that an interruption never leaves a partial item
// under the source's name.
std::expected<void, std::string> restore_from_payload(const path& payload, const path& source)
{
    auto parent = parent_folder(source);
    if (!parent)
        return std::unexpected("source has no parent directory");
    path restoring = *parent / (k_quarantine_prefix + random_identifier());
    auto copied = copy_tree(payload, restoring);
    std::optional<int> rename_error;
    if (copied) {
        auto renamed = rename_no_replace(restoring, source);
        if (renamed)
            return {};
        rename_error = renamed.error();
    }
    // The payload still holds all the data; the partial or unplaced restoration goes.
    if (auto removed = remove_tree(restoring, LockedFolders::Unlock); !removed)
        spdlog::warn("Files source restoration could not remove its partial copy (path: {}, error: {})",
                     kavo_services::lossy_utf8(restoring), removed.error());
    return std::unexpected(copied ? os_text(*rename_error) : copied.error());
}

// After a move failed with `message` once the source was put aside: the staged copy goes back
// to the source's place, and the staging folder is kept if that is not possible.
std::string recover_source(StagingArea& staging, const path& source, std::string message,
                           const std::optional<path>& quarantine)
{
    std::optional<std::string> quarantine_error;
    if (quarantine) {
        if (auto removed = remove_path(*quarantine); !removed)
            quarantine_error = removed.error();
    }
    if (auto restored = restore_from_payload(staging.payload(), source); !restored) {
        staging.keep();
        return message + "; source restoration failed: " + restored.error() + "; staged data retained at "
            + kavo_services::lossy_utf8(staging.payload());
    }
    std::string result = staging.discard(std::move(message));
    if (quarantine_error)
        result += "; partial source quarantine retained at " + kavo_services::lossy_utf8(*quarantine) + ": " + *quarantine_error;
    return result;
}

std::expected<path, std::string> place_payload(StagingArea& staging, const path& folder, const NameParts& parts)
{
    Placement placed;
    {
        PlacementGrant grant(staging.payload());
        placed = rename_into(staging.payload(), folder, parts);
    }
    if (auto* target = std::get_if<path>(&placed)) {
        staging.finish();
        return *target;
    }
    if (auto* probe = std::get_if<ProbeFailed>(&placed))
        return std::unexpected(probe->text);
    if (auto* rename = std::get_if<RenameFailed>(&placed))
        return std::unexpected(os_text(rename->errnum));
    return std::unexpected(names_exhausted(parts.full, folder));
}

// Refuses a folder moved or copied into itself or one of its subfolders.
std::expected<void, std::string> check_not_into_itself(const path& source, const path& folder)
{
    auto source_canonical = resolve(source);
    if (!source_canonical)
        return std::unexpected(source_canonical.error());
    auto folder_canonical = resolve(folder);
    if (!folder_canonical)
        return std::unexpected(folder_canonical.error());
    if (is_same_or_inside(*folder_canonical, *source_canonical))
        return std::unexpected("cannot copy or move a folder into itself");
    return {};
}

}

std::expected<path, std::string> transfer_item(const path& source_path, const path& destination_folder, TransferMode mode)
{
    path source = item_path(source_path);
    struct stat status;
    if (::lstat(source.c_str(), &status) != 0)
        return std::unexpected(os_text(errno));
    if (S_ISDIR(status.st_mode)) {
        if (auto checked = check_not_into_itself(source, destination_folder); !checked)
            return std::unexpected(checked.error());
    }
    auto name = final_name(source);
    if (!name)
        return std::unexpected(i18n::t("files-source-no-name"));
    auto parent = parent_folder(source);
    auto parent_canonical = canonical_or_unset(parent);
    auto destination_canonical = canonical_or_unset(destination_folder);
    if (mode == TransferMode::Move && parent_canonical && destination_canonical && *parent_canonical == *destination_canonical)
        return std::unexpected("the item is already in this folder");
    NameParts parts = NameParts::split(*name);
    if (auto probe = probe_destination(destination_folder / *name); !probe)
        return std::unexpected(probe.error());

    if (mode == TransferMode::Move) {
        // Within one file system a move is one rename. Only a rename across file systems falls
        // back to copying: after any other refusal (a read-only folder that would change its
        // parent, a sticky folder) deleting the source would meet the same refusal once the
        // source had already been set aside.
        Placement moved = rename_into(source, destination_folder, parts);
        if (auto* target = std::get_if<path>(&moved))
            return *target;
        if (auto* probe = std::get_if<ProbeFailed>(&moved))
            return std::unexpected(probe->text);
        if (auto* rename = std::get_if<RenameFailed>(&moved); rename && rename->errnum != EXDEV)
            return std::unexpected(os_text(rename->errnum));
    }

    auto staging = StagingArea::allocate(destination_folder);
    if (!staging)
        return std::unexpected(staging.error());
    if (auto copied = copy_tree(source, staging->payload()); !copied)
        return std::unexpected(staging->discard(copied.error()));

    if (mode == TransferMode::Move) {
        if (!parent)
            return std::unexpected(staging->discard("source has no parent directory"));
        auto quarantine = quarantine_source(source, *parent);
        if (!quarantine)
            return std::unexpected(staging->discard(quarantine.error()));
        if (auto removed = remove_path(*quarantine); !removed)
            return std::unexpected(recover_source(*staging, source, removed.error(), *quarantine));
    }

    auto placed = place_payload(*staging, destination_folder, parts);
    if (placed)
        return placed;
    if (mode == TransferMode::Copy)
        return std::unexpected(staging->discard(placed.error()));
    return std::unexpected(recover_source(*staging, source, placed.error(), std::nullopt));
}

}
