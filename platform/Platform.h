#pragma once
// Everything the drill asks of the operating system and the desktop, behind one
// interface, so the logic builds and is tested without the window toolkit.
// Paths are the drill's own drive-letter paths ("c:\plovenda\..."); the
// implementation maps them to native ones.  File contents are raw bytes: the
// logbook owns the code page.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qadrill {

enum class FileMode { Append, Input, Output };

// One record for one open file of a command that writes several.
struct RecordAppend {
    int fileNumber = 0;
    std::string_view bytes;
};

// A picture as plain pixels, so the interface needs no toolkit type.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // row-major, width * height
    [[nodiscard]] bool isNull() const { return width <= 0 || height <= 0; }
};

class Platform {
public:
    virtual ~Platform() = default;

    // Modal prompt with OK and Cancel; Cancel gives the empty text.
    [[nodiscard]] virtual std::u16string inputBox(const std::u16string& prompt) = 0;
    // Modal message box with one OK button; returns after OK.
    virtual void messageBox(const std::u16string& text) = 0;
    // The same with what the system said (a path and its reason) for the
    // student to open on request; a platform that cannot show it drops it.
    virtual void messageBoxWithDetail(const std::u16string& text, const std::u16string& detail) {
        static_cast<void>(detail);
        messageBox(text);
    }

    // Throws RuntimeError on failure (the caller decides whether to ignore it).
    virtual void makeDirectory(const std::u16string& path) = 0;

    // Sequential files by file number 1..maxFileNumber.  Every failure throws
    // RuntimeError with the platform's number (55 when the number is in use).
    static constexpr int maxFileNumber = 255;
    virtual void open(int fileNumber, const std::u16string& path, FileMode mode) = 0;
    // Writes these bytes as one unit: locked, appended in one write, synced.
    // A short or failed write leaves the file as it was before the call.
    virtual void write(int fileNumber, std::string_view bytes) = 0;
    // Appends each record to its open file, all or none: after an error, and
    // after a crash at any point once the next command has run, every file
    // holds its record whole or not at all, and all of them agree.
    virtual void appendRecords(std::span<const RecordAppend> records) = 0;
    // Reads one line without its line end (CR LF, LF or CR).
    [[nodiscard]] virtual std::string lineInput(int fileNumber) = 0;
    [[nodiscard]] virtual bool endOfFile(int fileNumber) = 0;
    // Closing a number that is not open does nothing.
    virtual void close(int fileNumber) = 0;
    virtual void closeAll() = 0;

    // Seconds since local midnight, with a fraction.
    [[nodiscard]] virtual float timer() = 0;
    // Local date as mm-dd-yyyy and time as hh:mm:ss (24-hour clock), read now.
    [[nodiscard]] virtual std::u16string dateText() = 0;
    [[nodiscard]] virtual std::u16string timeText() = 0;

    virtual void randomize(float seed) = 0;
    // Uniform in [0, 1), single precision.
    [[nodiscard]] virtual float rnd() = 0;

    // Both throw RuntimeError (clipboardUnavailable) when another program
    // holds the clipboard.
    virtual void setClipboardPicture(const Picture& picture) = 0;
    // The picture the clipboard offers now, if any.
    [[nodiscard]] virtual std::optional<Picture> clipboardPicture() = 0;
    virtual void beep() = 0;

    // Closes every open file and ends the process at once; nothing else runs.
    [[noreturn]] virtual void endProgram() = 0;
};

}  // namespace qadrill
