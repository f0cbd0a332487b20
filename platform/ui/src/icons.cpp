#include "kavo_ui/icons.hpp"

#include <optional>
#include <string>

namespace kavo_ui {

namespace {

bool starts_with(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }
bool contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

Icon file_icon_for_mime(std::string_view mime)
{
    if (mime == "application/pdf")
        return Icon::FilePdf;
    if (starts_with(mime, "image/"))
        return Icon::FileImage;
    if (starts_with(mime, "audio/"))
        return Icon::FileAudio;
    if (starts_with(mime, "video/"))
        return Icon::FileVideo;
    if (contains(mime, "zip") || contains(mime, "tar") || contains(mime, "compressed") || mime == "application/gzip"
        || contains(mime, "x-7z") || contains(mime, "x-rar") || contains(mime, "x-xz") || contains(mime, "x-bzip"))
        return Icon::FileArchive;
    if (contains(mime, "spreadsheet") || contains(mime, "ms-excel") || mime == "text/csv")
        return Icon::FileSpreadsheet;
    if (contains(mime, "presentation") || contains(mime, "powerpoint"))
        return Icon::FilePresentation;
    if (contains(mime, "wordprocessing") || contains(mime, "msword") || contains(mime, "opendocument.text")
        || mime == "application/rtf" || mime == "application/epub+zip")
        return Icon::FileDocument;
    if (mime == "application/json" || mime == "application/xml" || mime == "text/x-c" || mime == "text/x-c++src"
        || contains(mime, "script") || contains(mime, "x-python") || contains(mime, "x-rust") || contains(mime, "x-csrc")
        || contains(mime, "x-chdr") || contains(mime, "x-java") || mime == "text/html" || mime == "text/css"
        || mime == "application/x-shellscript")
        return Icon::FileCode;
    if (starts_with(mime, "text/"))
        return Icon::FileText;
    return Icon::File;
}

// A tinted band that tells file kinds apart at a glance.
Color file_tint(Icon icon)
{
    switch (icon) {
    case Icon::FileText: return Color::rgb(0x9aa3b5);
    case Icon::FileImage: return Color::rgb(0x3fb68b);
    case Icon::FileAudio: return Color::rgb(0xe0719a);
    case Icon::FileVideo: return Color::rgb(0xa070e8);
    case Icon::FileArchive: return Color::rgb(0xd9a441);
    case Icon::FileDocument: return Color::rgb(0x4f8cff);
    case Icon::FileSpreadsheet: return Color::rgb(0x34a853);
    case Icon::FilePresentation: return Color::rgb(0xf08a3c);
    case Icon::FileCode: return Color::rgb(0x5fc4d6);
    case Icon::FilePdf: return Color::rgb(0xe5534b);
    default: return Color::rgb(0x7d8494);
    }
}

Point at(const Rect& r, float fx, float fy) { return {r.left + r.width() * fx, r.top + r.height() * fy}; }

void draw_folder(Painter& p, const Rect& r, Color body, Color glyph_ink, std::optional<Icon> glyph);

void draw_glyph_on_folder(Painter& p, Icon glyph, const Rect& r, Color ink)
{
    Rect g = Rect::from_xywh(r.left + r.width() * 0.34f, r.top + r.height() * 0.42f, r.width() * 0.32f, r.width() * 0.32f);
    draw_icon(p, glyph, g, ink);
}

void draw_folder(Painter& p, const Rect& r, Color body, Color glyph_ink, std::optional<Icon> glyph)
{
    Path back;
    back.move_to(at(r, 0.06f, 0.22f))
        .line_to(at(r, 0.38f, 0.22f))
        .line_to(at(r, 0.46f, 0.30f))
        .line_to(at(r, 0.94f, 0.30f))
        .line_to(at(r, 0.94f, 0.84f))
        .line_to(at(r, 0.06f, 0.84f))
        .close();
    Color darker{uint8_t(body.r * 0.75f), uint8_t(body.g * 0.75f), uint8_t(body.b * 0.75f), body.a};
    p.fill_path(back, darker);
    Path front;
    front.add_rounded_rect({r.left + r.width() * 0.06f, r.top + r.height() * 0.36f, r.right - r.width() * 0.06f,
                            r.top + r.height() * 0.84f},
                           r.width() * 0.05f);
    p.fill_path(front, body);
    if (glyph)
        draw_glyph_on_folder(p, *glyph, r, glyph_ink);
}

void draw_file(Painter& p, const Rect& r, Icon kind)
{
    float fold = r.width() * 0.22f;
    Rect page{r.left + r.width() * 0.18f, r.top + r.height() * 0.08f, r.right - r.width() * 0.18f,
              r.bottom - r.height() * 0.08f};
    Path body;
    body.move_to({page.left, page.top})
        .line_to({page.right - fold, page.top})
        .line_to({page.right, page.top + fold})
        .line_to({page.right, page.bottom})
        .line_to({page.left, page.bottom})
        .close();
    p.fill_path(body, Color::rgb(0xe8ebf0));
    Path corner;
    corner.move_to({page.right - fold, page.top}).line_to({page.right - fold, page.top + fold}).line_to({page.right, page.top + fold}).close();
    p.fill_path(corner, Color::rgb(0xb9bfca));
    Color tint = file_tint(kind);
    Rect band{page.left, page.bottom - page.height() * 0.30f, page.right, page.bottom};
    p.fill_rect(band, tint);
    // Text lines hint at content for text-like kinds.
    float lh = std::max(1.0f, page.height() * 0.04f);
    for (int i = 0; i < 3; ++i) {
        float y = page.top + page.height() * (0.30f + 0.11f * float(i));
        p.fill_rect({page.left + page.width() * 0.16f, y, page.right - page.width() * (i == 2 ? 0.4f : 0.16f), y + lh},
                    Color::rgb(0xc3c8d2));
    }
}

void stroke(Painter& p, const Path& path, Color ink, const Rect& r) { p.stroke_path(path, ink, std::max(1.2f, r.width() * 0.09f)); }

}

Icon icon_for_path(const std::filesystem::path& path, bool is_folder, std::string_view mime_type)
{
    if (is_folder) {
        if (path == "/")
            return Icon::Root;
        return Icon::Folder;
    }
    return file_icon_for_mime(mime_type);
}

void draw_icon(Painter& p, Icon icon, const Rect& bounds, Color ink)
{
    float s = std::min(bounds.width(), bounds.height());
    Rect r = Rect::from_xywh(bounds.center().x - s / 2, bounds.center().y - s / 2, s, s);
    const Color folder = Color::rgb(0x5b9cf5);
    const Color on_folder = Color::rgb(0x1d3f73);
    switch (icon) {
    case Icon::Folder: return draw_folder(p, r, folder, on_folder, std::nullopt);
    case Icon::Documents: return draw_folder(p, r, folder, on_folder, Icon::FileText);
    case Icon::Downloads: return draw_folder(p, r, folder, on_folder, Icon::Up);
    case Icon::Pictures: return draw_folder(p, r, folder, on_folder, Icon::FileImage);
    case Icon::Music: return draw_folder(p, r, folder, on_folder, Icon::FileAudio);
    case Icon::Videos: return draw_folder(p, r, folder, on_folder, Icon::FileVideo);
    case Icon::Workspace: return draw_folder(p, r, Color::rgb(0x3fb68b), Color::rgb(0x124634), Icon::Refresh);
    case Icon::File:
    case Icon::FileText:
    case Icon::FileImage:
    case Icon::FileAudio:
    case Icon::FileVideo:
    case Icon::FileArchive:
    case Icon::FileDocument:
    case Icon::FileSpreadsheet:
    case Icon::FilePresentation:
    case Icon::FileCode:
    case Icon::FilePdf:
        if (s >= 14) {
            draw_file(p, r, icon);
            return;
        }
        break;
    default: break;
    }

    Path path;
    switch (icon) {
    case Icon::Home:
        path.move_to(at(r, 0.15f, 0.48f)).line_to(at(r, 0.5f, 0.16f)).line_to(at(r, 0.85f, 0.48f));
        path.move_to(at(r, 0.25f, 0.40f)).line_to(at(r, 0.25f, 0.84f)).line_to(at(r, 0.75f, 0.84f)).line_to(at(r, 0.75f, 0.40f));
        path.move_to(at(r, 0.43f, 0.84f)).line_to(at(r, 0.43f, 0.62f)).line_to(at(r, 0.57f, 0.62f)).line_to(at(r, 0.57f, 0.84f));
        return stroke(p, path, ink, r);
    case Icon::Root:
        path.add_rounded_rect({r.left + s * 0.12f, r.top + s * 0.30f, r.right - s * 0.12f, r.bottom - s * 0.30f}, s * 0.08f);
        stroke(p, path, ink, r);
        p.fill_rect(Rect::from_xywh(r.left + s * 0.64f, r.top + s * 0.46f, s * 0.09f, s * 0.08f), ink);
        return;
    case Icon::Trash:
        path.move_to(at(r, 0.2f, 0.28f)).line_to(at(r, 0.8f, 0.28f));
        path.move_to(at(r, 0.4f, 0.28f)).line_to(at(r, 0.42f, 0.16f)).line_to(at(r, 0.58f, 0.16f)).line_to(at(r, 0.6f, 0.28f));
        path.move_to(at(r, 0.27f, 0.28f)).line_to(at(r, 0.32f, 0.86f)).line_to(at(r, 0.68f, 0.86f)).line_to(at(r, 0.73f, 0.28f));
        path.move_to(at(r, 0.44f, 0.42f)).line_to(at(r, 0.45f, 0.72f));
        path.move_to(at(r, 0.56f, 0.42f)).line_to(at(r, 0.55f, 0.72f));
        return stroke(p, path, ink, r);
    case Icon::Back:
        path.move_to(at(r, 0.60f, 0.22f)).line_to(at(r, 0.32f, 0.5f)).line_to(at(r, 0.60f, 0.78f));
        return stroke(p, path, ink, r);
    case Icon::Forward:
        path.move_to(at(r, 0.40f, 0.22f)).line_to(at(r, 0.68f, 0.5f)).line_to(at(r, 0.40f, 0.78f));
        return stroke(p, path, ink, r);
    case Icon::Up:
        path.move_to(at(r, 0.5f, 0.80f)).line_to(at(r, 0.5f, 0.22f));
        path.move_to(at(r, 0.26f, 0.44f)).line_to(at(r, 0.5f, 0.20f)).line_to(at(r, 0.74f, 0.44f));
        return stroke(p, path, ink, r);
    case Icon::Menu:
        for (float y : {0.3f, 0.5f, 0.7f})
            path.move_to(at(r, 0.2f, y)).line_to(at(r, 0.8f, y));
        return stroke(p, path, ink, r);
    case Icon::Grid:
        for (float y : {0.2f, 0.55f})
            for (float x : {0.2f, 0.55f})
                p.fill_rounded_rect(Rect::from_xywh(r.left + s * x, r.top + s * y, s * 0.25f, s * 0.25f), s * 0.04f, ink);
        return;
    case Icon::List:
        for (float y : {0.28f, 0.5f, 0.72f}) {
            p.fill_rect(Rect::from_xywh(r.left + s * 0.18f, r.top + s * y - s * 0.04f, s * 0.08f, s * 0.08f), ink);
            path.move_to(at(r, 0.36f, y)).line_to(at(r, 0.82f, y));
        }
        return stroke(p, path, ink, r);
    case Icon::Refresh:
        path.arc(r.inset(s * 0.22f), 60, 280);
        stroke(p, path, ink, r);
        {
            Path head;
            head.move_to(at(r, 0.56f, 0.12f)).line_to(at(r, 0.72f, 0.26f)).line_to(at(r, 0.52f, 0.34f)).close();
            p.fill_path(head, ink);
        }
        return;
    case Icon::Warning:
        path.move_to(at(r, 0.5f, 0.14f)).line_to(at(r, 0.88f, 0.82f)).line_to(at(r, 0.12f, 0.82f)).close();
        stroke(p, path, ink, r);
        p.fill_rect(Rect::from_xywh(r.left + s * 0.46f, r.top + s * 0.38f, s * 0.08f, s * 0.24f), ink);
        p.fill_rect(Rect::from_xywh(r.left + s * 0.46f, r.top + s * 0.67f, s * 0.08f, s * 0.07f), ink);
        return;
    default:
        // Small file icons: a page outline in the kind's tint.
        path.move_to(at(r, 0.25f, 0.1f)).line_to(at(r, 0.6f, 0.1f)).line_to(at(r, 0.78f, 0.3f)).line_to(at(r, 0.78f, 0.9f))
            .line_to(at(r, 0.25f, 0.9f)).close();
        return stroke(p, path, file_tint(icon), r);
    }
}

}
