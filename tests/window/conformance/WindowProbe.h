#pragma once
// What the window conformance suite asks of a front end: its main window
// built on the scripted platform, looked at control by control through the
// control table's names ("txt_parameter_0").

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "window/ControlTable.h"
#include "window/PixelLayout.h"

namespace qadrill::testing {

struct ProbeFont {
    std::string family;
    double points = 0.0;
};

// A control as it shows, its border included: 0xRRGGBB a pixel, row by row.
struct ProbeImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb;
    bool operator==(const ProbeImage&) const = default;
};

class WindowProbe {
public:
    virtual ~WindowProbe() = default;

    [[nodiscard]] virtual bool exists(std::string_view name) = 0;
    [[nodiscard]] virtual ControlKind kind(std::string_view name) = 0;
    // In device pixels from the client area's top-left corner.
    [[nodiscard]] virtual PixelRect rect(std::string_view name) = 0;
    [[nodiscard]] virtual std::string text(std::string_view name) = 0;  // UTF-8
    [[nodiscard]] virtual ProbeFont font(std::string_view name) = 0;
    [[nodiscard]] virtual bool takesFocus(std::string_view name) = 0;
    [[nodiscard]] virtual std::string title() = 0;

    // What a screen reader gets through the system's accessibility
    // interface: name, description, role number (as MSAA numbers roles) and
    // the label that names the control ("" when none).
    struct Accessible {
        std::string name;
        std::string description;
        long role = 0;
        std::string labelledBy;
    };
    [[nodiscard]] virtual Accessible accessible(std::string_view name) = 0;

    // The tab stop the dialog keys reach from this control.
    [[nodiscard]] virtual std::string nextTabStop(std::string_view name, bool backwards) = 0;
    // HeldEnter: only a repeat of an Enter already down.
    enum class Key { Tab, ShiftTab, Enter, Escape, HeldEnter };
    // Gives the control the focus, types the key into it, and names the
    // control that holds the focus then.  The window stays open throughout.
    [[nodiscard]] virtual std::string focusAfterKey(std::string_view name, Key key) = 0;

    [[nodiscard]] virtual ProbeImage grab(std::string_view name) = 0;

    // Starts the drill on assignment 1, as a student's answers to the prompts do.
    virtual void load() = 0;
    virtual void type(std::string_view name, std::string_view text) = 0;
    virtual void press(std::string_view name) = 0;
    // A left click in the middle of the control's text area.
    virtual void click(std::string_view name) = 0;
    // Replaces a button's or label's caption, or a box's text.
    virtual void setText(std::string_view name, std::string_view text) = 0;
    // The drill's instruction text, as start-up sets it.
    virtual void setPromptText(std::string_view text) = 0;
};

// The front end's window at this resolution, on a scripted platform.
[[nodiscard]] std::unique_ptr<WindowProbe> makeProbe(int dpi);

// The resolutions the suite runs at; a front end that cannot change its
// resolution inside one process runs once per resolution.
[[nodiscard]] std::vector<int> probeResolutions();

}  // namespace qadrill::testing
