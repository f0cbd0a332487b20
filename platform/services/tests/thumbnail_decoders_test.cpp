#include "thumbnail_epub.hpp"
#include "thumbnail_epub_package.hpp"
#include "thumbnail_image.hpp"
#include "thumbnail_jpeg_frame.hpp"
#include "thumbnail_pdf.hpp"
#include "thumbnail_test_files.hpp"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using namespace kavo_services::thumbs;
using thumb_test::TempDir;

constexpr uint64_t k_mib = 1 << 20;

// Large pictures are written once for the whole suite: a 12-megapixel camera-sized JPEG, the same
// as progressive JPEG and as PNG.
class ThumbDecoders : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new TempDir();
        const QImage photo = thumb_test::make_picture(4000, 3000);
        thumb_test::write_picture(*s_dir / "photo.jpg", photo, "jpeg");
        thumb_test::write_picture(*s_dir / "progressive.jpg", photo, "jpeg", true);
        thumb_test::write_picture(*s_dir / "photo.png", photo, "png");
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    static Decoded decode_with_budget(const std::string& name, uint64_t budget)
    {
        QFile file(QString::fromStdString((*s_dir / name).native()));
        if (!file.open(QIODevice::ReadOnly))
            return std::unexpected(std::string("cannot open"));
        return decode_image(file, budget);
    }

    static TempDir* s_dir;
};

TempDir* ThumbDecoders::s_dir = nullptr;

// Qt refuses to allocate any image larger than the budget, and a full decode of 4000 × 3000 needs
// 46 MiB: a result within 4 MiB shows the JPEG was decoded at reduced DCT scale, not decoded
// whole and scaled afterwards as the PNG must be.
TEST_F(ThumbDecoders, CameraJpegIsDecodedAtReducedScale)
{
    auto jpeg = decode_with_budget("photo.jpg", 4 * k_mib);
    ASSERT_TRUE(jpeg.has_value()) << jpeg.error();
    EXPECT_EQ(jpeg->size(), QSize(256, 192));
    const QRgb centre = jpeg->pixel(128, 96);
    EXPECT_GT(qRed(centre), 180);
    EXPECT_LT(qBlue(centre), 120);

    EXPECT_FALSE(decode_with_budget("photo.png", 4 * k_mib).has_value());
}

TEST_F(ThumbDecoders, PicturesOverTheBudgetAreRefusedBeforeDecoding)
{
    struct Row {
        const char* name;
        uint64_t budget;
        bool decodes;
    };
    const Row rows[] = {
        {"photo.jpg", k_decode_budget, true},
        // 4000 × 3000 × 4 bytes is more than the 40 MiB budget of a worker.
        {"photo.png", k_decode_budget, false},
        {"photo.png", 64 * k_mib, true},
        // A progressive JPEG keeps all its coefficients (about 34 MiB here) whatever the scale.
        {"progressive.jpg", 16 * k_mib, false},
        {"progressive.jpg", k_decode_budget, true},
        {"photo.jpg", 16 * k_mib, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " within " + std::to_string(row.budget / k_mib) + " MiB");
        auto decoded = decode_with_budget(row.name, row.budget);
        EXPECT_EQ(decoded.has_value(), row.decodes);
        if (decoded) {
            EXPECT_EQ(decoded->size(), QSize(256, 192));
        }
    }
}

TEST_F(ThumbDecoders, JpegFrameHeaderTellsProgressiveCoefficientMemory)
{
    for (const char* name : {"photo.jpg", "progressive.jpg"}) {
        SCOPED_TRACE(name);
        QFile file(QString::fromStdString((*s_dir / name).native()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        auto frame = read_jpeg_frame(file);
        ASSERT_TRUE(frame.has_value());
        EXPECT_EQ(frame->width, 4000);
        EXPECT_EQ(frame->height, 3000);
        if (std::string(name) == "progressive.jpg") {
            EXPECT_TRUE(frame->progressive);
            // Qt writes 4:2:0: 1.5 blocks of 128 bytes per 64 pixels.
            EXPECT_NEAR(static_cast<double>(frame->coefficient_bytes), 4000.0 * 3000 * 1.5 * 2, 1e6);
        } else {
            EXPECT_FALSE(frame->progressive);
            EXPECT_EQ(frame->coefficient_bytes, 0u);
        }
    }
}

TEST(ThumbImage, SmallAndOddInputs)
{
    TempDir dir;
    // Qt writes no GIF: one red pixel, by hand.
    thumb_test::write_bytes(dir / "dot.gif", std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00"
                                                         ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                                                         35));
    thumb_test::write_picture(dir / "wide.webp", thumb_test::make_picture(1000, 500), "webp");
    thumb_test::write_picture(dir / "tall.bmp", thumb_test::make_picture(100, 1000), "bmp");
    thumb_test::write_picture(dir / "named-wrong.jpg", thumb_test::make_picture(300, 300), "png");
    thumb_test::write_bytes(dir / "broken.png", "\x89PNG\r\n\x1a\n not really");
    thumb_test::write_bytes(dir / "empty.png", "");
    ASSERT_EQ(::mkfifo((dir / "pipe.png").c_str(), 0600), 0);
    struct Row {
        const char* name;
        QSize size; // empty: fails
    };
    const Row rows[] = {
        {"dot.gif", QSize(1, 1)}, {"wide.webp", QSize(256, 128)},        {"tall.bmp", QSize(25, 256)}, {"named-wrong.jpg", QSize(256, 256)},
        {"broken.png", QSize()},             {"empty.png", QSize()},       {"pipe.png", QSize()},
        {"missing.png", QSize()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto decoded = decode_image_file(dir / row.name);
        ASSERT_EQ(decoded.has_value(), !row.size.isEmpty());
        if (decoded) {
            EXPECT_EQ(decoded->size(), row.size);
        }
    }
}

TEST(ThumbPdf, FirstPageRendersToFit)
{
    TempDir dir;
    thumb_test::write_bytes(dir / "wide.pdf", thumb_test::make_pdf(400, 200));
    thumb_test::write_bytes(dir / "huge.pdf", thumb_test::make_pdf(100000, 100));
    thumb_test::write_bytes(dir / "broken.pdf", "%PDF-1.4\nnothing here\n");

    auto wide = decode_pdf_first_page(dir / "wide.pdf");
    ASSERT_TRUE(wide.has_value()) << wide.error();
    EXPECT_EQ(wide->size(), QSize(256, 128));
    // The left half is the red rectangle, the right half the white paper.
    EXPECT_EQ(wide->pixel(64, 64), qRgb(255, 0, 0));
    EXPECT_EQ(wide->pixel(192, 64), qRgb(255, 255, 255));

    EXPECT_FALSE(decode_pdf_first_page(dir / "huge.pdf").has_value());
    EXPECT_FALSE(decode_pdf_first_page(dir / "broken.pdf").has_value());
}

struct EpubCase {
    const char* name;
    std::string package;
    std::vector<std::pair<std::string, std::string>> entries;
    bool decodes;
};

TEST(ThumbEpub, CoverIsFoundAsTheBookNamesIt)
{
    const std::string cover = thumb_test::encoded(thumb_test::make_picture(300, 400, QColor(20, 160, 60)));
    const std::string other = thumb_test::encoded(thumb_test::make_picture(50, 50, QColor(200, 0, 0)));
    const std::string page = "<item id=\"p1\" href=\"text/p1.xhtml\" media-type=\"application/xhtml+xml\"/>";
    const EpubCase cases[] = {
        {"cover-image property",
         thumb_test::package_xml("", page + "<item id=\"c\" href=\"images/front.png\" media-type=\"image/png\" "
                                            "properties=\"nav cover-image\"/>"),
         {{"OEBPS/images/front.png", cover}},
         true},
        {"meta cover names the item, href leaves the package folder",
         thumb_test::package_xml("<meta name=\"cover\" content=\"img\"/>",
                                 "<item id=\"cover\" href=\"other.png\" media-type=\"image/png\"/>"
                                 "<item id=\"img\" href=\"../art/front.png\" media-type=\"image/png\"/>"),
         {{"art/front.png", cover}, {"OEBPS/other.png", other}},
         true},
        {"item with the id cover, escaped href",
         thumb_test::package_xml("", page + "<item id=\"cover\" href=\"my%20cover.png#x\" media-type=\"image/png\"/>"),
         {{"OEBPS/my cover.png", cover}},
         true},
        {"id cover that is no picture",
         thumb_test::package_xml("", "<item id=\"cover\" href=\"cover.xhtml\" media-type=\"application/xhtml+xml\"/>"),
         {{"OEBPS/cover.xhtml", "<html/>"}},
         false},
        {"href above the archive root",
         thumb_test::package_xml("", "<item id=\"c\" href=\"../../front.png\" properties=\"cover-image\"/>"),
         {{"front.png", cover}},
         false},
        {"document type declaration",
         "<?xml version=\"1.0\"?><!DOCTYPE package [<!ENTITY e \"images/front.png\">]>"
             + thumb_test::package_xml("", "<item id=\"c\" href=\"&e;\" properties=\"cover-image\"/>").substr(39),
         {{"OEBPS/images/front.png", cover}},
         false},
        {"malformed package",
         "<package><manifest><item id=\"c\" href=\"front.png\" properties=\"cover-image\">",
         {{"OEBPS/front.png", cover}},
         false},
        {"cover entry missing", thumb_test::package_xml("", "<item id=\"c\" href=\"gone.png\" properties=\"cover-image\"/>"), {}, false},
    };
    TempDir dir;
    for (const EpubCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = dir / "book.epub";
        thumb_test::write_epub(path, c.package, c.entries);
        auto decoded = decode_epub_cover(path);
        ASSERT_EQ(decoded.has_value(), c.decodes) << (decoded ? "" : decoded.error());
        if (decoded) {
            EXPECT_EQ(decoded->size(), QSize(192, 256));
            EXPECT_GT(qGreen(decoded->pixel(2, 2)), 100);
        }
    }
}

TEST(ThumbEpub, NotABookFails)
{
    TempDir dir;
    thumb_test::write_bytes(dir / "text.epub", "just text");
    thumb_test::write_zip(dir / "no-container.epub", {{"mimetype", "application/epub+zip"}});
    for (const char* name : {"text.epub", "no-container.epub"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(decode_epub_cover(dir / name).has_value());
    }
}

TEST(ThumbEpubPackage, HrefResolution)
{
    struct Row {
        const char* package;
        const char* href;
        const char* entry; // null: refused
    };
    const Row rows[] = {
        {"OEBPS/content.opf", "images/a.png", "OEBPS/images/a.png"},
        {"content.opf", "a.png", "a.png"},
        {"OEBPS/content.opf", "./x/../a%2Bb.png?q#frag", "OEBPS/a+b.png"},
        {"OEBPS/content.opf", "/root.png", "root.png"},
        {"OEBPS/content.opf", "../../a.png", nullptr},
        {"OEBPS/content.opf", "http://example.org/a.png", nullptr},
        {"OEBPS/content.opf", "a%00.png", nullptr},
        {"OEBPS/content.opf", "a%zz.png", nullptr},
        {"OEBPS/content.opf", "a%2", nullptr},
        {"OEBPS/content.opf", "", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.href);
        auto entry = resolve_package_href(row.package, row.href);
        ASSERT_EQ(entry.has_value(), row.entry != nullptr);
        if (entry) {
            EXPECT_EQ(*entry, row.entry);
        }
    }
}

}
