// The timings subcommand: a verse timing entry from CSV rows.

#include "tools/command.h"

namespace lumora::pack {

int runTimings(const CommandContext& context) { return context.fail("timings is being built"); }

}  // namespace lumora::pack
