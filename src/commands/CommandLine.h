#pragma once

#include <optional>

// The program's command line. Without options the program opens its window;
// the windowless commands (--pdf, --print, --orders-csv) and --help and
// --version run without a window and without a display, say what they have
// to say in Turkish and give an exit status. An option the program does not
// know is one line on standard error and exit status 2.
namespace CommandLine {

// The exit status of a windowless run, or nothing when the window is to
// open (no option, or only options of the window system such as
// "-platform offscreen").
std::optional<int> run(int argc, char **argv);

} // namespace CommandLine
