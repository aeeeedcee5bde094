#pragma once
// Splits a byte stream into lines for sequential input.  A line ends at CR LF,
// LF, or a CR alone; the last line of a file needs no end.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace qadrill {

class LineBuffer final {
public:
    // The next chunk of the file; the empty string at its end.  May throw.
    using Refill = std::function<std::string()>;

    // The next line without its end, or nullopt when nothing is left.
    [[nodiscard]] std::optional<std::string> nextLine(const Refill& refill);
    [[nodiscard]] bool atEnd(const Refill& refill);

private:
    bool fill(const Refill& refill);
    [[nodiscard]] std::string take(std::size_t length, std::size_t endLength);

    std::string buffer_;
    std::size_t start_ = 0;
    // How far past start_ a line end has been looked for, so a long line is
    // scanned once however many chunks it spans.
    std::size_t scanned_ = 0;
    bool exhausted_ = false;
};

}  // namespace qadrill
