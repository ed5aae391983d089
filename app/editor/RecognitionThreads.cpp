#include "editor/RecognitionThreads.h"

#include <cstdlib>
#include <unistd.h>

namespace vellumix::RecognitionThreads {

void limitBeforeStart(char** argv) {
    if (std::getenv(variable) != nullptr) {
        return;
    }
    setenv(variable, "1", 0);
    // The kernel names a process after the file it runs: run the program's
    // own file, so that ps, pgrep and killall still know it by its name.
    char* path = realpath("/proc/self/exe", nullptr);
    execv(path != nullptr ? path : "/proc/self/exe", argv);
    std::free(path);
}

} // namespace vellumix::RecognitionThreads
