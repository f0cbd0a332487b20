#include "thumbnail_epub_package.hpp"
#include "kavo_services/hex.hpp"

#include <libxml/xmlreader.h>
#include <memory>
#include <optional>
#include <vector>

namespace kavo_services::thumbs {

namespace {

struct ReaderFree {
    void operator()(xmlTextReaderPtr reader) const { xmlFreeTextReader(reader); }
};

std::optional<std::string> attribute(xmlTextReaderPtr reader, const char* name)
{
    xmlChar* value = xmlTextReaderGetAttribute(reader, reinterpret_cast<const xmlChar*>(name));
    if (!value)
        return std::nullopt;
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

bool has_token(std::string_view list, std::string_view token)
{
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find_first_of(" \t\r\n", start);
        if (end == std::string_view::npos)
            end = list.size();
        if (list.substr(start, end - start) == token)
            return true;
        start = end + 1;
    }
    return false;
}

// Calls on_element(reader, local name) for every element. Fails on malformed XML and on a
// document type declaration.
template<typename OnElement>
std::expected<void, std::string> for_each_element(std::string_view xml, OnElement on_element)
{
    if (xml.find("<!DOCTYPE") != std::string_view::npos)
        return std::unexpected(std::string("document type declarations are refused"));
    std::unique_ptr<xmlTextReader, ReaderFree> reader(
        xmlReaderForMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
                           XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!reader)
        return std::unexpected(std::string("cannot parse XML"));
    int status;
    while ((status = xmlTextReaderRead(reader.get())) == 1) {
        const int type = xmlTextReaderNodeType(reader.get());
        if (type == XML_READER_TYPE_DOCUMENT_TYPE)
            return std::unexpected(std::string("document type declarations are refused"));
        if (type != XML_READER_TYPE_ELEMENT)
            continue;
        const xmlChar* name = xmlTextReaderConstLocalName(reader.get());
        if (name && !on_element(reader.get(), std::string_view(reinterpret_cast<const char*>(name))))
            return {};
    }
    if (status != 0)
        return std::unexpected(std::string("malformed XML"));
    return {};
}

struct ManifestItem {
    std::string id;
    std::string href;
    std::string media_type;
    std::string properties;
};



}

std::expected<std::string, std::string> package_path_from_container(std::string_view xml)
{
    std::optional<std::string> path;
    auto parsed = for_each_element(xml, [&](xmlTextReaderPtr reader, std::string_view name) {
        if (name != "rootfile")
            return true;
        auto media_type = attribute(reader, "media-type");
        if (media_type && *media_type != "application/oebps-package+xml")
            return true;
        path = attribute(reader, "full-path");
        return !path;
    });
    if (!parsed)
        return std::unexpected(parsed.error());
    if (!path || path->empty())
        return std::unexpected(std::string("no package document"));
    return *path;
}

std::expected<std::string, std::string> cover_href_from_package(std::string_view xml)
{
    std::vector<ManifestItem> items;
    std::optional<std::string> cover_id;
    auto parsed = for_each_element(xml, [&](xmlTextReaderPtr reader, std::string_view name) {
        if (name == "item") {
            items.push_back({attribute(reader, "id").value_or(""), attribute(reader, "href").value_or(""),
                             attribute(reader, "media-type").value_or(""),
                             attribute(reader, "properties").value_or("")});
        } else if (name == "meta" && !cover_id && attribute(reader, "name") == "cover") {
            cover_id = attribute(reader, "content");
        }
        return true;
    });
    if (!parsed)
        return std::unexpected(parsed.error());
    auto usable = [](const ManifestItem& item) { return !item.href.empty(); };
    for (const ManifestItem& item : items)
        if (usable(item) && has_token(item.properties, "cover-image"))
            return item.href;
    if (cover_id)
        for (const ManifestItem& item : items)
            if (usable(item) && item.id == *cover_id)
                return item.href;
    for (const ManifestItem& item : items)
        if (usable(item) && item.id == "cover" && item.media_type.starts_with("image/"))
            return item.href;
    return std::unexpected(std::string("no cover"));
}

std::expected<std::string, std::string> resolve_package_href(std::string_view package_path, std::string_view href)
{
    href = href.substr(0, href.find_first_of("#?"));
    if (href.empty() || href.find(':') < href.find('/'))
        return std::unexpected(std::string("not a path inside the book"));
    auto decoded = kavo_services::percent_decode(href);
    if (!decoded)
        return std::unexpected(std::string("bad escape in href"));
    std::string joined;
    if (decoded->starts_with('/')) {
        joined = *decoded;
    } else {
        const size_t slash = package_path.rfind('/');
        joined = std::string(slash == std::string_view::npos ? std::string_view() : package_path.substr(0, slash + 1))
            + *decoded;
    }
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find('/', start);
        if (end == std::string::npos)
            end = joined.size();
        std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (parts.empty())
                return std::unexpected(std::string("href leaves the book"));
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    if (parts.empty())
        return std::unexpected(std::string("not a path inside the book"));
    std::string entry;
    for (const std::string& part : parts)
        entry += (entry.empty() ? "" : "/") + part;
    return entry;
}

}
