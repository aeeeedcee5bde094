#pragma once
// The drill takes no arguments. Any argument is answered here, before a
// window or a display is needed: --help and --version print to standard
// output, anything else gets one usage line on standard error.

namespace qadrill {

// The exit status: 0 after --help or --version, 2 for anything else.
[[nodiscard]] int answerCommandLine(int argc, char* argv[]);

}  // namespace qadrill
