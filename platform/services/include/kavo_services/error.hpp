#pragma once

#include <string>
#include <string_view>

namespace kavo_services {

// A failure as a value: the display text, and the errno where a caller must branch on it.
struct Error {
    std::string text;
    int errnum = 0;

    // The system's message for an errno, with its number: "Permission denied (os error 13)".
    static Error from_errno(int errnum);
    // The same, after a short description of the step that failed: "open x: No such file …".
    static Error from_errno(int errnum, std::string_view context);
};

}
