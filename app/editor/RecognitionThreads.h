#pragma once

// Text recognition runs the engine with OpenMP, whose runtime spreads each
// line over every core and busy-waits between lines; on a small machine one
// thread per recognition reads a screenshot about three times faster. The
// runtime reads OMP_THREAD_LIMIT once, when the program loads it (before
// main), so setting the variable later does nothing.
namespace vellumix::RecognitionThreads {

inline constexpr const char* variable = "OMP_THREAD_LIMIT";

// Call first thing in main, with main's argv. When OMP_THREAD_LIMIT is unset
// it sets it to 1 and runs the program again in place (same process id,
// arguments and other environment); when it is set, whatever its value, it
// returns at once. Should the restart fail, the program goes on with the
// variable set, which helps any child it starts and harms nothing.
void limitBeforeStart(char** argv);

} // namespace vellumix::RecognitionThreads
