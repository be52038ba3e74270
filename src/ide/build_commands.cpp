// The build and compatibility commands (not built yet: the commands say so).
#include "ide/tool_windows.h"

namespace corvane::ide {

void build_linux(Workbench& bench, const std::string&) {
    bench.set_status("Building executables is not available in this build yet.");
}

void compatibility_report(Workbench& bench) {
    bench.set_status("The compatibility report window is not available in this build yet.");
}

}  // namespace corvane::ide
