#include "native_observer/snapshot.hpp"
#include "kavo_services/hex.hpp"

#include "files_app/file_explorer_widget.hpp"
#include "kavo_services/utf8.hpp"
#include "views/file_view/file_view.hpp"

#include <sodium.h>

#include <cmath>

namespace files::native_observer {

using nlohmann::ordered_json;

namespace {


ordered_json number_or_null(float v) { return std::isfinite(v) ? ordered_json(v) : ordered_json(nullptr); }

ordered_json rect_json(const kavo_ui::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

bool usable(const std::optional<kavo_ui::Rect>& r) { return r && r->is_finite() && !r->is_empty(); }

}

std::string order_hash(const model::EntryList& entries)
{
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    for (const auto& entry : entries) {
        uint64_t len = entry.name.size();
        unsigned char le[8];
        for (int i = 0; i < 8; ++i)
            le[i] = static_cast<unsigned char>(len >> (8 * i));
        crypto_hash_sha256_update(&state, le, sizeof le);
        crypto_hash_sha256_update(&state, reinterpret_cast<const unsigned char*>(entry.name.data()), entry.name.size());
        unsigned char kind = entry.is_folder ? 1 : 0;
        crypto_hash_sha256_update(&state, &kind, 1);
    }
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256_final(&state, digest);
    return kavo_services::to_hex(digest);
}

ordered_json build_snapshot(const app::FileExplorerWidget& explorer)
{
    auto& root = const_cast<app::FileExplorerWidget&>(explorer);
    auto* view = dynamic_cast<views::FileView*>(kavo_ui::find_widget_by_id(root, "file_view"));
    kavo_ui::Scrollable* scroll = view ? dynamic_cast<kavo_ui::Scrollable*>(kavo_ui::find_parent(root, *view)) : nullptr;

    std::optional<kavo_ui::Rect> root_rect = explorer.bounds();
    std::optional<kavo_ui::Rect> viewport = scroll ? std::optional(scroll->viewport()) : std::nullopt;
    std::optional<kavo_ui::Rect> content = view ? std::optional(view->bounds()) : std::nullopt;
    bool ready = !explorer.loading() && !explorer.load_error() && usable(root_rect) && usable(viewport) && usable(content);

    const auto& entries = explorer.entries();
    ordered_json indices = ordered_json::array();
    ordered_json names = ordered_json::array();
    for (size_t i : explorer.selection().selected()) {
        indices.push_back(i);
        names.push_back(i < entries.size() ? entries[i].name : std::string());
    }
    auto primary = explorer.selection().focused();
    kavo_ui::Point cursor = view ? view->last_cursor()
                                 : kavo_ui::Point{std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::quiet_NaN()};

    ordered_json snapshot;
    snapshot["app"] = app::k_app_id;
    snapshot["view_id"] = "file_view";
    snapshot["directory"] = kavo_services::lossy_utf8(explorer.current_dir());
    snapshot["entry_count"] = entries.size();
    snapshot["order_hash"] = order_hash(entries);
    snapshot["hash_algorithm"] = "sha256";
    snapshot["ready"] = ready;
    snapshot["is_loading"] = explorer.loading();
    snapshot["has_error"] = explorer.load_error().has_value();
    auto pending = explorer.thumbnails_pending();
    snapshot["thumbnail_pending"] = pending ? ordered_json(*pending) : ordered_json(nullptr);
    snapshot["selected_indices"] = std::move(indices);
    snapshot["selected_names"] = std::move(names);
    snapshot["primary_index"] = primary ? ordered_json(*primary) : ordered_json(nullptr);
    snapshot["offset_x"] = scroll ? scroll->offset_x() : 0.0f;
    snapshot["offset_y"] = scroll ? scroll->offset_y() : 0.0f;
    snapshot["offset_units"] = "pixels";
    snapshot["last_cursor"] = {number_or_null(cursor.x), number_or_null(cursor.y)};
    snapshot["root_rect"] = rect_json(explorer.bounds());
    snapshot["viewport_rect"] = viewport ? rect_json(*viewport) : ordered_json(nullptr);
    snapshot["content_rect"] = content ? rect_json(*content) : ordered_json(nullptr);
    snapshot["view_mode"] = model::to_string(explorer.view_mode());
    snapshot["sort_by"] = model::to_string(explorer.sort_by());
    snapshot["sort_order"] = model::to_string(explorer.sort_order());
    return snapshot;
}

}
