#pragma once

// Real input files for the thumbnail tests: a temporary folder, pictures written by Qt, a PDF
// written by hand and ZIP archives written by libarchive.
#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <archive.h>
#include <archive_entry.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace thumb_test {

namespace fs = std::filesystem;

class TempDir {
public:
    explicit TempDir(const char* base = nullptr)
    {
        const char* tmp = base ? base : std::getenv("TMPDIR");
        std::string pattern = (tmp && *tmp ? std::string(tmp) : std::string("/tmp")) + "/thumb-test-XXXXXX";
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        if (!m_path.empty())
            fs::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& path() const { return m_path; }
    fs::path operator/(const std::string& name) const { return m_path / name; }

private:
    fs::path m_path;
};

inline void write_bytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string read_bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A picture with gradients and shapes, so that it compresses like content rather than a flat fill.
inline QImage make_picture(int width, int height, QColor tint = QColor(40, 120, 200))
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, tint);
    gradient.setColorAt(1, tint.darker(300));
    painter.fillRect(image.rect(), gradient);
    painter.setBrush(QColor(230, 200, 60));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(width * 0.3, height * 0.3, width * 0.4, height * 0.4));
    return image;
}

inline void write_picture(const fs::path& path, const QImage& image, const char* format, bool progressive = false)
{
    QImageWriter writer(QString::fromStdString(path.native()), format);
    writer.setProgressiveScanWrite(progressive);
    ASSERT_TRUE(writer.write(image)) << writer.errorString().toStdString();
}

inline std::string encoded(const QImage& image, const char* format = "PNG")
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

// A one-page PDF of the given size in points with a red rectangle over its left half.
inline std::string make_pdf(int width, int height)
{
    const std::string content = "1 0 0 rg 0 0 " + std::to_string(width / 2) + " " + std::to_string(height) + " re f\n";
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + std::to_string(width) + " " + std::to_string(height)
            + "] /Contents 4 0 R /Resources << >> >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
    };
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[21];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
        + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

inline void write_zip(const fs::path& path, const std::vector<std::pair<std::string, std::string>>& entries)
{
    archive* writer = archive_write_new();
    archive_write_set_format_zip(writer);
    ASSERT_EQ(archive_write_open_filename(writer, path.c_str()), ARCHIVE_OK);
    for (const auto& [name, bytes] : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, name.c_str());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, static_cast<la_int64_t>(bytes.size()));
        ASSERT_EQ(archive_write_header(writer, entry), ARCHIVE_OK);
        ASSERT_EQ(archive_write_data(writer, bytes.data(), bytes.size()), static_cast<la_ssize_t>(bytes.size()));
        archive_entry_free(entry);
    }
    archive_write_close(writer);
    archive_write_free(writer);
}

inline std::string container_xml(const std::string& package_path)
{
    return "<?xml version=\"1.0\"?>\n"
           "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">"
           "<rootfiles><rootfile full-path=\""
        + package_path + "\" media-type=\"application/oebps-package+xml\"/></rootfiles></container>";
}

// A package document with the given metadata and manifest children.
inline std::string package_xml(const std::string& metadata, const std::string& manifest)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" unique-identifier=\"id\">"
           "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>Book</dc:title>"
        + metadata + "</metadata><manifest>" + manifest + "</manifest><spine/></package>";
}

// An EPUB whose package is OEBPS/content.opf, holding the extra entries given.
inline void write_epub(const fs::path& path, const std::string& package,
                       std::vector<std::pair<std::string, std::string>> extra)
{
    std::vector<std::pair<std::string, std::string>> entries = {
        {"mimetype", "application/epub+zip"},
        {"META-INF/container.xml", container_xml("OEBPS/content.opf")},
        {"OEBPS/content.opf", package},
    };
    for (auto& entry : extra)
        entries.push_back(std::move(entry));
    write_zip(path, entries);
}

}
