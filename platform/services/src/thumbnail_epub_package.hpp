#pragma once

#include <expected>
#include <string>
#include <string_view>

namespace kavo_services::thumbs {

// The XML of an EPUB is parsed without network access, without entity substitution, and a
// document with a DOCTYPE is refused, so a book cannot make the parser fetch or expand anything.

// The package document's path inside the archive, from META-INF/container.xml.
std::expected<std::string, std::string> package_path_from_container(std::string_view xml);

// The href of the cover picture in a package document: the manifest item with the property
// "cover-image", else the item named by <meta name="cover" content="…">, else an item with the id
// "cover" and an image media type.
std::expected<std::string, std::string> cover_href_from_package(std::string_view xml);

// The archive entry an href of the package document names: relative to the package's folder,
// percent-escapes decoded, without fragment. Refused when it leaves the archive or names another
// scheme.
std::expected<std::string, std::string> resolve_package_href(std::string_view package_path, std::string_view href);

}
