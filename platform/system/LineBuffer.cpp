#include "platform/system/LineBuffer.h"

namespace qadrill {

std::optional<std::string> LineBuffer::nextLine(const Refill& refill) {
    for (;;) {
        const std::size_t end = buffer_.find_first_of("\r\n", start_ + scanned_);
        if (end != std::string::npos && buffer_[end] == '\n') return take(end - start_, 1);
        if (end != std::string::npos && end + 1 < buffer_.size()) {
            return take(end - start_, buffer_[end + 1] == '\n' ? 2 : 1);
        }
        // A CR at the end of what we hold may still be followed by its LF.
        scanned_ = (end == std::string::npos ? buffer_.size() : end) - start_;
        if (fill(refill)) continue;
        if (end != std::string::npos) return take(end - start_, 1);
        if (start_ < buffer_.size()) return take(buffer_.size() - start_, 0);
        return std::nullopt;
    }
}

bool LineBuffer::atEnd(const Refill& refill) {
    while (start_ == buffer_.size()) {
        if (!fill(refill)) return true;
    }
    return false;
}

bool LineBuffer::fill(const Refill& refill) {
    if (exhausted_) return false;
    std::string chunk = refill();
    if (chunk.empty()) {
        exhausted_ = true;
        return false;
    }
    buffer_.erase(0, start_);
    start_ = 0;
    buffer_ += chunk;
    return true;
}

std::string LineBuffer::take(std::size_t length, std::size_t endLength) {
    std::string line = buffer_.substr(start_, length);
    start_ += length + endLength;
    scanned_ = 0;
    return line;
}

}  // namespace qadrill
