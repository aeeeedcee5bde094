#include "logbook/TextCoding.h"

#include <cmath>

#include "logbook/CodePage.h"
#include "logbook/LogEncoding.h"
#include "logbook/LogWriter.h"
#include "logbook/Text.h"
#include "logbook/Unicode.h"

namespace qadrill {

namespace {

// The character of a computed code; a code outside 0..255 has none.
char16_t charOfCode(double computed) {
    const double rounded = roundHalfEven(computed);
    if (!(rounded >= 0.0 && rounded <= 255.0)) throw RuntimeError(err::invalidArgument);
    return windows1252Char(static_cast<unsigned char>(rounded));
}

// One random character: round(r * scale + offset), products in double.
char16_t drawnChar(Platform& platform, float scale, float offset) {
    const auto r = static_cast<double>(platform.rnd());
    return charOfCode(r * static_cast<double>(scale) + static_cast<double>(offset));
}

void writeCodedLine(Platform& platform, const std::u16string& line) {
    platform.write(logfile::coded, encodeForLog(line) + "\r\n");
}

std::u16string readLine(Platform& platform, int fileNumber) {
    return decodeWindows1252(platform.lineInput(fileNumber));
}

void copyCoded(const std::u16string& line, float codeNbr, Platform& platform) {
    const std::u16string head = lowerCased(left(line, 6));
    if (head == u"assign")
        writeCodedLine(platform, line);
    else if (head == u"query ")
        writeCodedLine(platform, u"query" + code(midFrom(line, 8), codeNbr));
    else
        writeCodedLine(platform, code(line, codeNbr));
}

}  // namespace

double roundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5) return below + 1.0;
    if (fraction < 0.5) return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::u16string code(const std::u16string& aLine, float /*codeNbr*/) { return aLine; }

std::u16string makeCodeLine(Platform& platform, float codeNbr) {
    std::u16string line;
    for (double i = 1.0; i <= static_cast<double>(codeNbr); i += 1.0) {
        if (platform.rnd() < 0.1F) line.push_back(drawnChar(platform, 50.0F, 66.0F));
        line.push_back(drawnChar(platform, 137.0F, 118.0F));
    }
    return line;
}

std::u16string remSpaces(const std::u16string& aLine) {
    std::u16string out;
    for (const char16_t c : aLine)
        if (c != u' ' && c != u'-') out.push_back(c);
    return out;
}

std::u16string decode(const std::u16string& aLine, float codeNbr) {
    const auto shift = static_cast<double>(codeNbr);
    std::u16string out;
    for (const char16_t c : aLine) {
        const auto byte = windows1252Byte(c);
        if (!byte) throw RuntimeError(err::invalidArgument);
        const int value = *byte;
        if (value == 32)
            out.push_back(u' ');
        else if (value < 66)
            out.push_back(charOfCode(value + 209.0 - shift));
        else if (value > 118)
            out.push_back(charOfCode(value - shift - 100.0));
    }
    return out;
}

void codeFile(DrillState& state, Platform& platform) {
    const std::u16string queryPath = state.dataDir + u"\\query" + state.queryName + u".txt";
    const std::u16string codedPath = state.dataDir + u"\\queri" + state.queryName + u".txt";

    // A failure part-way must not leave the file numbers taken for later.
    try {
        platform.open(logfile::query, queryPath, FileMode::Input);
        const auto firstLineLength = readLine(platform, logfile::query).size();
        platform.closeAll();
        state.codeNumber = static_cast<float>(firstLineLength);

        platform.open(logfile::query, queryPath, FileMode::Input);
        platform.open(logfile::coded, codedPath, FileMode::Output);
        while (!platform.endOfFile(logfile::query))
            copyCoded(readLine(platform, logfile::query), state.codeNumber, platform);
    } catch (...) {
        platform.close(logfile::query);
        platform.close(logfile::coded);
        throw;
    }
    platform.close(logfile::query);
    platform.close(logfile::coded);
}

}  // namespace qadrill
