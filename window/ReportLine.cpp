#include "window/ReportLine.h"

#include <cstdio>

#include "platform/unicode/Utf8.h"

namespace qadrill {

namespace {

std::u16string oneLine(std::u16string_view text) {
    std::u16string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        line += text[i] == u'\r' || text[i] == u'\n' ? u' ' : text[i];
    }
    return line;
}

}  // namespace

std::string reportLine(std::u16string_view text, std::u16string_view detail) {
    std::u16string line = oneLine(text);
    if (!detail.empty()) line += u" (" + oneLine(detail) + u")";
    return "qadrill: " + toUtf8(line) + "\n";
}

void writeReportLine(std::u16string_view text, std::u16string_view detail) {
    const std::string line = reportLine(text, detail);
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

}  // namespace qadrill
