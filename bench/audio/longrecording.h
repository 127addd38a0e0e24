#pragma once
// A long recording for the benchmarks, made fast: lame encodes one minute of speech-like sound once, and
// its audio frames are repeated to the wanted length behind an Info frame that announces them all. Also
// the CPU counting that the audio benchmarks share: this process's, and a peer program's.

#include <sys/types.h>

#include <string>
#include <vector>

namespace lumora::bench {

// The path of a `minutes`-long 44.1 kHz stereo 128 kbps CBR recording, made in `folder` unless there.
std::string longRecording(const std::string& folder, int minutes);

// CPU seconds (user + system) this process has used so far.
double processCpuSeconds();
// Starts a program found on the PATH (its output to /dev/null when quiet); -1 when it cannot start.
pid_t spawn(const std::vector<std::string>& arguments, bool quiet);
// Waits for a child; its CPU seconds (user + system), or -1 when it failed.
double waitForCpu(pid_t child);

}  // namespace lumora::bench
