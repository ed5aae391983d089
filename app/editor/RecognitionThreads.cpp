#include "editor/RecognitionThreads.h"

#include <cstdlib>
#include <unistd.h>

namespace vellumix::RecognitionThreads {

void limitBeforeStart(char** argv) {
    if (std::getenv(variable) != nullptr) {
        return;
    }
    setenv(variable, "1", 0);
    execv("/proc/self/exe", argv);
}

} // namespace vellumix::RecognitionThreads
