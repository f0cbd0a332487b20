#pragma once

#include <nlohmann/json.hpp>

#include "kavo_ui/widgets.hpp"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace files::app {

// What confirming a sheet does; the Part of Files that opens the sheet fills the data its
// command needs.
enum class ConfirmKind { PurgeEntries, EmptyTrash, FreeLocalSpace, RevokeGrant, RestoreVersion, ResolveConflict };

struct ConfirmAction {
    ConfirmKind kind;
    std::string label;  // the confirm button's text
    std::vector<std::filesystem::path> paths;
    std::optional<std::array<uint8_t, 16>> id;
    std::optional<std::pair<std::array<uint8_t, 16>, std::array<uint8_t, 16>>> ids;
};

// One information panel or confirmation, texts already localised.
struct Sheet {
    std::string title;
    std::string summary;
    std::vector<std::string> details;
    std::optional<ConfirmAction> confirm;
    nlohmann::ordered_json extra;  // the opening Part's own state for the panel
};

struct SheetGeometry {
    kavo_ui::Rect sheet;
    kavo_ui::Rect close_button;
    std::optional<kavo_ui::Rect> confirm_button;
    float content_height;
};

// Width: the window width clamped to 320…680, less 32. Height: 143 without detail lines, else
// 116 + 27 per line (at most 14 lines counted), plus 58 for a confirm action; then at most the
// window height less 32 and at least 180. Centred in the window.
SheetGeometry sheet_geometry(const Sheet& sheet, const kavo_ui::Rect& window);

// Draws the open sheet over a scrim and turns input into outcomes.
class SheetFrame final : public kavo_ui::Widget {
public:
    enum class Outcome { Close, Confirm };

    void set_sheet(const Sheet* sheet) { m_sheet = sheet; }
    void set_composing(bool composing) { m_composing = composing; }
    std::optional<Outcome> take_outcome() { return std::exchange(m_outcome, std::nullopt); }
    const SheetGeometry& geometry() const { return m_geometry; }

    void layout(const kavo_ui::Rect& bounds, const kavo_ui::Theme&) override;
    void draw_overlay(kavo_ui::Painter&, const kavo_ui::Theme&) override;
    kavo_ui::EventResult handle_event(const kavo_ui::Event&) override;
    void accessibility(std::vector<kavo_ui::AccessNode>&) const override;

private:
    const Sheet* m_sheet = nullptr;
    SheetGeometry m_geometry{};
    bool m_composing = false;
    std::optional<Outcome> m_outcome;
};

// The keyboard shortcuts sheet.
Sheet shortcuts_sheet();

}
