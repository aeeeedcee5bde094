// The question box's commands with a lot of text: "display notes" with a
// large notes log (shown as one run-together paragraph), "display everything"
// with a large transcript, and "Next Question / Answer" with the question box
// already full.  Each runs on a shown window and includes the repaint, so the
// text box's own layout counts.  Sizes are in MB; the offscreen platform
// unless QT_QPA_PLATFORM says otherwise.  "Next Question / Answer" on a box
// of records is also set beside a bare append of the same text to a box of the
// same text, press by press, at 2,000 and 20,000 records; and the peak memory
// of "display notes" with 100 MB of notes beside that of reading, decoding and
// inserting them.  The notes log's reader alone gets one line of 8 and of
// 64 MiB.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "logbook/CharacterReferences.h"
#include "logbook/CodePage.h"
#include "tests/support/ScriptedPlatform.h"
#include "tests/support/TempDir.h"
#include "window/qt/ControlsQt.h"
#include "window/qt/MainWindowQt.h"

namespace {

using qadrill::testing::ScriptedPlatform;
using qadrill::testing::TempDir;

constexpr std::size_t megabyte = 1'000'000;

// A student's notes: ordinary sentences, CR LF line ends, about `bytes` long.
std::string notesBytes(std::size_t bytes) {
    const std::string line = "NOTES -------> Check the units first, then the signs of both velocities.\r\n";
    std::string out;
    out.reserve(bytes + line.size());
    while (out.size() < bytes) out += line;
    return out;
}

std::u16string transcript(std::size_t characters) {
    const std::u16string entry =
        u" YOUR ANSWER  ->->->->  The speed is 3 m/s, so the distance is 12 m.\r\nUnits check.\r\n";
    std::u16string out;
    out.reserve(characters + entry.size());
    while (out.size() < characters) out += entry;
    return out;
}

// The run's transcript after `records` answers, the same text as transcript().
void fillTranscript(qadrill::DrillState& state, std::size_t records) {
    for (std::size_t i = 0; i < records; ++i)
        state.cumulativeText.putInFront(state.answerTag,
                                        u"The speed is 3 m/s, so the distance is 12 m.\r\nUnits check.\r\n");
}

// The window after start-up for assignment 1, shown.
struct Drilling {
    TempDir dir;
    ScriptedPlatform platform{dir.path()};
    qadrill::MainWindow window{platform};

    Drilling() {
        platform.answers = {u"1", u"Ann Lee Smith", u"als", u"1"};
        window.load();
        window.show();
        QCoreApplication::processEvents();
    }

    QAbstractButton& button(const char* name) { return *window.findChild<QAbstractButton*>(name); }
    QPlainTextEdit& questionBox() { return *window.findChild<QPlainTextEdit*>("txt_question"); }

    // The click and the repaint that shows its result.
    void press(const char* name) {
        button(name).click();
        questionBox().repaint();
        QCoreApplication::processEvents();
    }
};

void BM_DisplayNotes(benchmark::State& state) {
    Drilling drill;
    std::ofstream(drill.dir.path() / "c" / "plovenda" / "notes_Ann_Lee_Smith.txt", std::ios::binary)
        << notesBytes(static_cast<std::size_t>(state.range(0)) * megabyte);
    for (auto _ : state) {
        state.PauseTiming();
        drill.window.drill().state().displayText.clear();
        drill.questionBox().clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        drill.press("cmd_display_note_file");
    }
}

void BM_DisplayEverything(benchmark::State& state) {
    Drilling drill;
    fillTranscript(drill.window.drill().state(),
                   static_cast<std::size_t>(state.range(0)) * megabyte / transcript(1).size());
    for (auto _ : state) {
        state.PauseTiming();
        drill.questionBox().clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        drill.press("cmd_displayCumulativeText");
    }
}

void BM_NextQuestionOnAFullBox(benchmark::State& state) {
    Drilling drill;
    const QString full = QString::fromStdU16String(transcript(static_cast<std::size_t>(state.range(0)) * megabyte));
    for (auto _ : state) {
        state.PauseTiming();
        drill.window.drill().state().lineIndex = 1;  // the same first question each time
        drill.questionBox().setPlainText(full);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        drill.press("cmdNextQuestion");
    }
}

double median(std::vector<double> values) {
    std::ranges::nth_element(values, values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2));
    return values[values.size() / 2];
}

template <typename Step>
double secondsOf(Step step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The transcript after `records` answers, and the box showing it through
// "display everything": LF line breaks, as the box keeps them.
void showTranscript(Drilling& drill, std::size_t records) {
    fillTranscript(drill.window.drill().state(), records);
    drill.press("cmd_displayCumulativeText");
}

// The box and the run's transcript hold `records` records.  Each iteration
// presses "Next Question / Answer" on one window and appends the question the
// press shows straight to the text box of a second, identical window that
// holds the same text.  Both boxes grow by one question an iteration.  The
// time reported is the press's mean; the counters give the medians of the
// press, of the bare append and of the ratio of the two.
void BM_NextQuestionOnRecords(benchmark::State& state) {
    const auto records = static_cast<std::size_t>(state.range(0));
    Drilling drill;
    Drilling floor;
    showTranscript(drill, records);
    showTranscript(floor, records);
    const QString question = QString::fromStdU16String(drill.window.drill().state().questionBank.at(3));
    std::vector<double> pressed;
    std::vector<double> bare;
    std::vector<double> ratios;
    for (auto _ : state) {
        drill.window.drill().state().lineIndex = 1;  // the same first question each time
        drill.window.drill().state().promptDue = false;
        const double press = secondsOf([&] { drill.press("cmdNextQuestion"); });
        bare.push_back(secondsOf([&] {
            QTextCursor end(floor.questionBox().document());
            end.movePosition(QTextCursor::End);
            end.insertText(question);
            floor.questionBox().repaint();
            QCoreApplication::processEvents();
        }));
        pressed.push_back(press);
        ratios.push_back(press / bare.back());
        state.SetIterationTime(press);
    }
    state.counters["press_median_ms"] = median(pressed) * 1000.0;
    state.counters["bare_append_ms"] = median(bare) * 1000.0;
    state.counters["ratio_to_bare"] = median(ratios);
}

// The notes log read as "display notes" reads it, one line at a time, when
// the whole log is one line of `MiB` mebibytes: the reader alone, no window.
// Twice the line should take about twice the time.
void BM_ReadNotesOfOneLongLine(benchmark::State& state) {
    TempDir dir;
    ScriptedPlatform platform(dir.path());
    platform.makeDirectory(u"c:\\plovenda");
    const auto bytes = static_cast<std::size_t>(state.range(0)) << 20;
    std::ofstream(dir.path() / "c" / "plovenda" / "notes_Ann_Lee_Smith.txt", std::ios::binary)
        << std::string(bytes, 'n') << "\r\n";
    for (auto _ : state) {
        platform.open(3, u"c:\\plovenda\\notes_Ann_Lee_Smith.txt", qadrill::FileMode::Input);
        std::size_t read = 0;
        while (!platform.endOfFile(3)) read += platform.lineInput(3).size();
        platform.close(3);
        benchmark::DoNotOptimize(read);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

// Peak memory of "display notes" with a large notes log, in a process of its
// own, against the floor in the same kind of process: the same window, the
// log read line by line, decoded into one text and inserted into the same
// box.  Both write the log first, a line at a time, so writing it costs no
// memory of its own.
void writeNotesLog(const Drilling& drill, std::size_t bytes) {
    const std::string line = "NOTES -------> Check the units first, then the signs of both velocities.\r\n";
    std::ofstream log(drill.dir.path() / "c" / "plovenda" / "notes_Ann_Lee_Smith.txt", std::ios::binary);
    for (std::size_t written = 0; written < bytes; written += line.size()) log << line;
}

int notesChild(std::string_view what, std::size_t bytes) {
    Drilling drill;
    writeNotesLog(drill, bytes);
    if (what == "program") {
        drill.press("cmd_display_note_file");
        return 0;
    }
    qadrill::Platform& platform = drill.platform;
    platform.open(3, u"c:\\plovenda\\notes_Ann_Lee_Smith.txt", qadrill::FileMode::Input);
    QString notes;
    while (!platform.endOfFile(3)) {
        notes += QString::fromStdU16String(
            qadrill::decodeCharacterReferences(qadrill::decodeWindows1252(platform.lineInput(3))));
    }
    platform.close(3);
    QTextCursor end(drill.questionBox().document());
    end.movePosition(QTextCursor::End);
    end.insertText(notes);
    drill.questionBox().repaint();
    QCoreApplication::processEvents();
    return 0;
}

// Kilobytes at the child's peak.
long peakOfChild(const char* what, std::size_t megabytes) {
    const std::string size = std::to_string(megabytes);
    const pid_t child = fork();
    if (child == 0) {
        execl("/proc/self/exe", "bench_commands", "--notes-child", what, size.c_str(), nullptr);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

void BM_DisplayNotesPeakMemory(benchmark::State& state) {
    const auto megabytes = static_cast<std::size_t>(state.range(0));
    long program = 0;
    long floor = 0;
    for (auto _ : state) {
        program = peakOfChild("program", megabytes);
        floor = peakOfChild("floor", megabytes);
    }
    state.counters["program_peak_MB"] = static_cast<double>(program) / 1024.0;
    state.counters["floor_peak_MB"] = static_cast<double>(floor) / 1024.0;
    state.counters["ratio_to_floor"] = static_cast<double>(program) / static_cast<double>(floor);
}

// Each step down a page of the shown notes repaints the box.
void BM_ScrollDisplayedNotes(benchmark::State& state) {
    Drilling drill;
    std::ofstream(drill.dir.path() / "c" / "plovenda" / "notes_Ann_Lee_Smith.txt", std::ios::binary)
        << notesBytes(static_cast<std::size_t>(state.range(0)) * megabyte);
    drill.press("cmd_display_note_file");
    QScrollBar& bar = *drill.questionBox().verticalScrollBar();
    for (auto _ : state) {
        bar.setValue(bar.value() + bar.pageStep());
        drill.questionBox().repaint();
        QCoreApplication::processEvents();
    }
}

BENCHMARK(BM_DisplayNotes)->Arg(1)->Arg(5)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DisplayEverything)->Arg(1)->Arg(5)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NextQuestionOnAFullBox)->Arg(1)->Arg(5)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NextQuestionOnRecords)
    ->Arg(2000)
    ->Arg(20000)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_DisplayNotesPeakMemory)->Arg(100)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_ReadNotesOfOneLongLine)->Arg(8)->Arg(64)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ScrollDisplayedNotes)->Arg(1)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qadrill::setInterfaceFont();
    if (argc == 4 && std::string_view(argv[1]) == "--notes-child")
        return notesChild(argv[2], std::stoul(argv[3]) * megabyte);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
