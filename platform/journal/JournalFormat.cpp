#include "platform/journal/JournalFormat.h"

#include <utility>

namespace qadrill {

namespace {

constexpr std::size_t checksumSize = 8;

std::uint64_t checksumOf(std::string_view journal) {
    return fnv1a(journal.substr(stateOffset + 1), fnv1a(journal.substr(0, stateOffset)));
}

void putNumber(std::string& out, std::uint64_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Reads the journal front to back; any shortfall means it was never whole.
class JournalReader {
public:
    explicit JournalReader(std::string_view bytes) : bytes_(bytes) {}

    std::optional<std::uint64_t> number(std::size_t size) {
        if (bytes_.size() - position_ < size) return std::nullopt;
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < size; ++i)
            value |= std::uint64_t{static_cast<unsigned char>(bytes_[position_ + i])} << (8 * i);
        position_ += size;
        return value;
    }

    std::optional<std::string_view> text(std::uint64_t size) {
        if (bytes_.size() - position_ < size) return std::nullopt;
        const auto taken = bytes_.substr(position_, size);
        position_ += size;
        return taken;
    }

    [[nodiscard]] bool atEnd() const { return position_ == bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

}  // namespace

std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string pathBytes(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return {utf8.begin(), utf8.end()};
}

std::string encodeJournal(const JournalContents& contents) {
    std::string out(journalMagic);
    out.push_back(contents.state);
    putNumber(out, contents.entries.size(), 4);
    for (const JournalEntry& entry : contents.entries) {
        const std::string path = pathBytes(entry.path);
        putNumber(out, static_cast<std::uint64_t>(entry.fileNumber), 4);
        putNumber(out, path.size(), 4);
        out += path;
        putNumber(out, entry.offset, 8);
        putNumber(out, entry.bytes.size(), 8);
        out += entry.bytes;
    }
    putNumber(out, checksumOf(out), checksumSize);
    return out;
}

std::optional<JournalContents> decodeJournal(std::string_view bytes) {
    if (bytes.size() < journalMagic.size() + 1 + 4 + checksumSize ||
        bytes.substr(0, journalMagic.size()) != journalMagic)
        return {};
    const std::string_view body = bytes.substr(0, bytes.size() - checksumSize);
    JournalReader checksum(bytes.substr(body.size()));
    if (checksum.number(checksumSize) != checksumOf(body)) return {};

    JournalContents contents;
    contents.state = bytes[stateOffset];
    if (contents.state != rollForward && contents.state != rollBack) return {};
    JournalReader reader(body.substr(stateOffset + 1));
    const auto count = reader.number(4);
    if (!count) return {};
    for (std::uint64_t i = 0; i < *count; ++i) {
        JournalEntry entry;
        const auto fileNumber = reader.number(4);
        const auto pathSize = reader.number(4);
        const auto path = pathSize ? reader.text(*pathSize) : std::nullopt;
        const auto offset = reader.number(8);
        const auto size = reader.number(8);
        const auto record = size ? reader.text(*size) : std::nullopt;
        if (!fileNumber || !path || !offset || !record) return {};
        entry.fileNumber = static_cast<int>(*fileNumber);
        entry.path = std::filesystem::path(std::u8string(path->begin(), path->end()));
        entry.offset = *offset;
        entry.bytes = std::string(*record);
        contents.entries.push_back(std::move(entry));
    }
    if (!reader.atEnd()) return {};
    return contents;
}

}  // namespace qadrill
