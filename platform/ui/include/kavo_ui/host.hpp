#pragma once

#include <expected>
#include <string>
#include <string_view>

namespace kavo_ui::host {

// The desktop the application runs in.
class Host {
public:
    virtual ~Host() = default;
    virtual bool can_open_documents() const = 0;
    // Opens a document with the desktop's default application, without waiting for it.
    virtual std::expected<void, std::string> open_path(std::string_view utf8_path) const = 0;
};

inline constexpr std::string_view k_opening_unavailable = "Document opening is unavailable";

const Host& current();

}
