// Corvani's command line: --help and --version, Qt's own options, and the answer to anything else.
#pragma once

#include <optional>

namespace corvani {

// Reads the arguments before any window system is reached. Returns the exit status when the
// program must end at once (0 after --help or --version, 2 after an unknown option or an
// argument), or nothing when the window is to open; Qt's own options are left for QApplication.
std::optional<int> llegeixOrdres(int argc, char* argv[]);

}  // namespace corvani
