// The user-space part of recording: a response record's lines for the master
// and send logs composed into bytes, as "Enter Response" does before it
// writes anything, for answers of plain ASCII, of Latin-1, of Greek and
// mathematics (normal already, but beyond Latin-1) and of decomposed accents
// (the one kind that needs normalizing).  No file is touched.

#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "logbook/LogWriter.h"

namespace {

using qadrill::LogRecord;

constexpr std::u16string_view separator = u"......!!!!!!!!...................................";
constexpr std::u16string_view closingLine = u".................................................";
constexpr std::u16string_view indent = u"                                    ";
constexpr std::u16string_view question =
    u"A car moves at 3 m/s for 4 s.  How far does it go?  Show the units in every step of the working.";

// A typical answer: a few lines, CR LF between them.
std::u16string answerOf(std::u16string_view line) {
    std::u16string out;
    for (int i = 0; i < 4; ++i) out.append(line).append(u"\r\n");
    return out;
}

const std::array<std::u16string, 4> answers = {
    answerOf(u"The distance is speed times time: 3 m/s x 4 s = 12 m, and the units check."),
    answerOf(u"Die Strecke ist Geschwindigkeit mal Zeit: 3 m/s \u00D7 4 s = 12 m, gepr\u00FCft, \u00B1 0,5 m."),
    answerOf(u"\u0394x = v\u00B7\u0394t = 3 m/s \u00B7 4 s = 12 m; \u03A3F = 0 \u21D2 v constant, \u2264 12 m."),
    answerOf(u"Die Strecke ist Geschwindigkeit mal Zeit: 3 m/s x 4 s = 12 m, gepru\u0308ft, Gro\u0308\u00DFe."),
};

// Lines 1 to 8 of a response record for both logs, as "Enter Response" builds them.
void composeResponse(const std::u16string& answer) {
    LogRecord master;
    LogRecord send;
    for (LogRecord* record : {&master, &send}) {
        record->text(separator).lineEnd();
        record->text(indent).text(u"14:05:09").lineEnd();
    }
    master.lineEnd().lineEnd().text(u"`questionNumber").number(10003.0).lineEnd();
    for (LogRecord* record : {&master, &send}) {
        record->text(question).lineEnd();
        record->text(separator).lineEnd();
        record->text(u"RESPONSE -->  ").lineEnd();
        record->text(answer).lineEnd();
        record->text(closingLine).lineEnd();
    }
    benchmark::DoNotOptimize(master.bytes().data());
    benchmark::DoNotOptimize(send.bytes().data());
}

void BM_ResponseRecordBytes(benchmark::State& state) {
    const std::u16string& answer = answers.at(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) composeResponse(answer);
}

BENCHMARK(BM_ResponseRecordBytes)->ArgName("ascii_latin1_greek_decomposed")->DenseRange(0, 3);

}  // namespace

BENCHMARK_MAIN();
