#pragma once

#include "model/directory_entry.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace files::i18n {

// A byte count in decimal units with one fraction digit at most: "999 B", "1.5 kB", "2 MB"
// (the number in the locale's format, a no-break space, the unit).
std::string format_bytes(uint64_t bytes);

// A local date and time as the locale writes a medium date with a short time; "%Y-%m-%d %H:%M"
// when the locale cannot.
std::string format_time(const model::LocalDateTime& time);

// Milliseconds since the Unix epoch in the local time zone (as it is now, TZ honoured);
// "unknown time" for negative or out-of-calendar values.
std::string format_epoch_ms(int64_t ms);

// "—" for a file without a modification time.
std::string format_modified(const std::optional<model::LocalDateTime>& time);

// The same fallback pattern on its own, for tests and for times ICU cannot format.
std::string format_time_fallback(const model::LocalDateTime& time);

}
