#pragma once
// A long recording for the benchmarks, made fast: lame encodes one minute of speech-like sound once, and
// its audio frames are repeated to the wanted length behind an Info frame that announces them all.

#include <string>

namespace lumora::bench {

// The path of a `minutes`-long 44.1 kHz stereo 128 kbps CBR recording, made in `folder` unless there.
std::string longRecording(const std::string& folder, int minutes);

}  // namespace lumora::bench
