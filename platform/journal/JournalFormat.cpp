#include "platform/journal/JournalFormat.h"

#include <cstring>
#include <utility>

namespace qadrill {

namespace {

constexpr std::size_t checksumSize = 8;
constexpr std::size_t lengthOffset = stateOffset + 1 + 8;

std::uint64_t checksumOf(std::string_view journal) {
    return wordChecksum(journal.substr(stateOffset + 1), wordChecksum(journal.substr(0, stateOffset)));
}

void putNumber(std::string& out, std::uint64_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void putNumberAt(std::string& out, std::size_t at, std::uint64_t value) {
    for (std::size_t i = 0; i < 8; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint64_t mix(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * 0xFF51AFD7ED558CCDULL;
    return hash ^ (hash >> 32);
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

std::optional<JournalEntry> readEntry(JournalReader& reader) {
    const auto fileNumber = reader.number(4);
    const auto nameSize = reader.number(4);
    const auto name = nameSize ? reader.text(*nameSize) : std::nullopt;
    const auto offset = reader.number(8);
    const auto size = reader.number(8);
    const auto record = size ? reader.text(*size) : std::nullopt;
    if (!fileNumber || !name || !offset || !record) return std::nullopt;
    return JournalEntry{static_cast<int>(*fileNumber), std::string(*name), *offset, std::string(*record)};
}

}  // namespace

std::uint64_t wordChecksum(std::string_view bytes, std::uint64_t seed) {
    std::uint64_t hash = seed ^ bytes.size();
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, 8);  // the same on every little-endian machine the drill runs on
        hash = mix(hash, word);
    }
    std::uint64_t tail = 0;
    for (std::size_t i = 0; at + i < bytes.size(); ++i)
        tail |= std::uint64_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    return mix(mix(hash, tail), bytes.size());
}

std::string pathBytes(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return {utf8.begin(), utf8.end()};
}

std::string encodeJournal(const JournalContents& contents) {
    std::string out(journalMagic);
    out.push_back(contents.state);
    putNumber(out, contents.generation, 8);
    putNumber(out, 0, 8);  // the length, filled in below
    const std::string folder = pathBytes(contents.folder);
    putNumber(out, folder.size(), 4);
    out += folder;
    putNumber(out, contents.entries.size(), 4);
    for (const JournalEntry& entry : contents.entries) {
        putNumber(out, static_cast<std::uint64_t>(entry.fileNumber), 4);
        putNumber(out, entry.name.size(), 4);
        out += entry.name;
        putNumber(out, entry.offset, 8);
        putNumber(out, entry.bytes.size(), 8);
        out += entry.bytes;
    }
    putNumberAt(out, lengthOffset, out.size() + checksumSize);
    putNumber(out, checksumOf(out), checksumSize);
    return out;
}

std::optional<JournalHeader> decodeHeader(std::string_view bytes) {
    if (bytes.size() < journalHeaderSize || bytes.substr(0, journalMagic.size()) != journalMagic) return {};
    JournalReader reader(bytes.substr(stateOffset + 1));
    JournalHeader header;
    header.state = bytes[stateOffset];
    header.generation = *reader.number(8);
    header.length = *reader.number(8);
    return header;
}

std::optional<JournalContents> decodeJournal(std::string_view bytes) {
    const auto header = decodeHeader(bytes);
    if (!header || header->length > bytes.size() || header->length < journalHeaderSize + checksumSize) return {};
    bytes = bytes.substr(0, static_cast<std::size_t>(header->length));
    const std::string_view body = bytes.substr(0, bytes.size() - checksumSize);
    JournalReader checksum(bytes.substr(body.size()));
    if (checksum.number(checksumSize) != checksumOf(body)) return {};
    if (header->state != rollForward && header->state != rollBack && header->state != done) return {};

    JournalContents contents;
    contents.state = header->state;
    contents.generation = header->generation;
    JournalReader reader(body.substr(journalHeaderSize));
    const auto folderSize = reader.number(4);
    const auto folder = folderSize ? reader.text(*folderSize) : std::nullopt;
    const auto count = reader.number(4);
    if (!folder || !count) return {};
    contents.folder = std::filesystem::path(std::u8string(folder->begin(), folder->end()));
    for (std::uint64_t i = 0; i < *count; ++i) {
        auto entry = readEntry(reader);
        if (!entry) return {};
        contents.entries.push_back(std::move(*entry));
    }
    if (!reader.atEnd()) return {};
    return contents;
}

}  // namespace qadrill
