#pragma once

#include "kavo_ui/painter.hpp"

#include <filesystem>
#include <string_view>

namespace kavo_ui {

enum class Icon {
    Folder,
    File,
    FileText,
    FileImage,
    FileAudio,
    FileVideo,
    FileArchive,
    FileDocument,
    FileSpreadsheet,
    FilePresentation,
    FileCode,
    FilePdf,
    Home,
    Root,
    Trash,
    Workspace,
    Documents,
    Downloads,
    Pictures,
    Music,
    Videos,
    Back,
    Forward,
    Up,
    Menu,
    Grid,
    List,
    Refresh,
    Warning,
};

// The icon for an item from its kind and MIME type (the path only decides special folders).
Icon icon_for_path(const std::filesystem::path& path, bool is_folder, std::string_view mime_type);

// Draws the icon into the square centred in r. Glyphs (Back … Refresh) use `ink`; item icons use
// their own palette.
void draw_icon(Painter& painter, Icon icon, const Rect& r, Color ink);

}
