#include "logbook/LogWriter.h"

#include <algorithm>
#include <cmath>

#include "logbook/LogEncoding.h"
#include "logbook/Text.h"

namespace qadrill {

namespace {

// Where the first line break of the text stands, npos if it has none.
std::size_t lineBreakIn(std::u16string_view text) {
    const auto found = std::find_if(text.begin(), text.end(), [](char16_t c) { return c == u'\r' || c == u'\n'; });
    return found == text.end() ? std::u16string_view::npos : static_cast<std::size_t>(found - text.begin());
}

}  // namespace

void LogRecord::put(std::string_view raw) {
    bytes_ += raw;
    column_ += static_cast<int>(raw.size());
}

void LogRecord::putLine(std::u16string_view line) {
    const std::size_t from = bytes_.size();
    appendForLog(line, bytes_, normal_);
    column_ += static_cast<int>(bytes_.size() - from);
}

// Nothing normalizes across a line break, so each line of the item is
// encoded on its own, straight into the record.
LogRecord& LogRecord::text(std::u16string_view item) {
    for (;;) {
        const std::size_t lineBreak = lineBreakIn(item);
        putLine(item.substr(0, lineBreak));
        if (lineBreak == std::u16string_view::npos) return *this;
        lineEnd();
        const bool crLf = item[lineBreak] == u'\r' && lineBreak + 1 < item.size() && item[lineBreak + 1] == u'\n';
        item.remove_prefix(lineBreak + (crLf ? 2 : 1));
    }
}

LogRecord& LogRecord::number(double value) {
    put(std::signbit(value) && value != 0.0 ? "-" : " ");
    text(numberText(std::fabs(value)));
    put(" ");
    return *this;
}

LogRecord& LogRecord::lineEnd() {
    bytes_ += "\r\n";
    column_ = 1;
    return *this;
}

LogRecord& LogRecord::zoneAdvance() {
    const int nextZone = ((column_ - 1) / zoneWidth + 1) * zoneWidth + 1;
    bytes_.append(static_cast<std::size_t>(nextZone - column_), ' ');
    column_ = nextZone;
    return *this;
}

void appendRecords(Platform& platform, std::initializer_list<LogAppend> appends) {
    std::vector<RecordAppend> records;
    for (const LogAppend& append : appends) records.push_back({append.fileNumber, append.record.bytes()});
    platform.appendRecords(records);
}

OpenLogs::OpenLogs(Platform& platform, std::initializer_list<std::pair<int, std::u16string>> logs)
    : platform_(platform) {
    try {
        for (const auto& [number, path] : logs) {
            platform_.close(number);
            platform_.open(number, path, FileMode::Append);
            open_.push_back(number);
        }
    } catch (...) {
        closeAll();
        throw;
    }
}

OpenLogs::~OpenLogs() { closeAll(); }

void OpenLogs::closeAll() noexcept {
    for (const int number : open_) {
        try {
            platform_.close(number);
        } catch (...) {
            // The record is already synced; a failing close loses nothing.
        }
    }
    open_.clear();
}

}  // namespace qadrill
