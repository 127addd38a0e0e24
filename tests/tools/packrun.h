#pragma once
// lumora-pack as its users run it: a real process in a scratch folder, its output, messages and status.

#include <string>
#include <vector>

#include "support/scratchfolder.h"

namespace lumora::test {

struct PackRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built lumora-pack with the arguments, in `folder`, capturing both output streams.
PackRun pack(const ScratchFolder& folder, const std::vector<std::string>& args);

}  // namespace lumora::test
