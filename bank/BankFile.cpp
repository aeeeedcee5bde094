#include "bank/BankFile.h"

#include <algorithm>

#include "bank/ControlLines.h"
#include "drill/state/DrillState.h"
#include "platform/RuntimeError.h"
#include "platform/unicode/Utf8.h"

namespace qadrill {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// A line's bytes without its line end; what is not text there, if anything.
std::optional<std::string> textFault(std::string_view bytes) {
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) {
        return "a NUL byte at byte " + std::to_string(nul + 1) + " of the line";
    }
    if (const auto valid = validUtf8Length(bytes); valid < bytes.size()) {
        return "bytes that are not UTF-8 at byte " + std::to_string(valid + 1) + " of the line";
    }
    return std::nullopt;
}

std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

}  // namespace

ParsedBank parseBank(std::string_view bytes) {
    ParsedBank parsed;
    if (bytes.starts_with(byteOrderMark)) bytes.remove_prefix(byteOrderMark.size());
    std::size_t line = 1;
    // A final line end closes the last entry; it starts no empty one.
    for (std::size_t start = 0; start < bytes.size(); ++line) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        std::string_view text = bytes.substr(start, end - start);
        start = end + 1;
        if (text.ends_with('\r')) text.remove_suffix(1);
        if (parsed.entries.size() == static_cast<std::size_t>(QuestionBank::lastIndex)) {
            parsed.fault = BankFault{err::subscriptOutOfRange, line, "more than 5,000 entries"};
            return parsed;
        }
        if (auto fault = textFault(text)) {
            parsed.fault = BankFault{err::typeMismatch, line, std::move(*fault)};
            return parsed;
        }
        parsed.entries.push_back(fromUtf8(text));
    }
    if (std::none_of(parsed.entries.begin(), parsed.entries.end(), [](const auto& e) { return isTitleLine(e); })) {
        parsed.fault = BankFault{err::subscriptOutOfRange, 1,
                                 "no assignment title line in the whole file (three digits and a period, as "
                                 "\"001.  Day 9 quiz\")"};
    }
    return parsed;
}

std::string readBankFile(SystemFiles& files, const std::filesystem::path& path) {
    return naming(path, [&] {
        const auto handle = files.openRegularInput(path);
        std::string bytes;
        try {
            // Appended chunk by chunk: the whole read stays linear in the size.
            for (;;) {
                const std::string chunk = files.readAt(handle, bytes.size(), readChunkSize);
                if (chunk.empty()) break;
                bytes += chunk;
            }
        } catch (...) {
            files.closeHandle(handle);
            throw;
        }
        files.closeHandle(handle);
        return bytes;
    });
}

BankEntries loadBankFile(SystemFiles& files, const std::filesystem::path& path) {
    ParsedBank parsed = parseBank(readBankFile(files, path));
    if (parsed.fault) {
        const BankFault& fault = *parsed.fault;
        throw RuntimeError(fault.errorNumber, "line " + std::to_string(fault.line) + ": " + fault.what, pathText(path));
    }
    return std::move(parsed.entries);
}

}  // namespace qadrill
