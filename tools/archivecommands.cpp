// The archive subcommands: create, list, cat, extract.

#include "tools/command.h"

namespace lumora::pack {

int runCreate(const CommandContext& context) { return context.fail("create is being built"); }
int runList(const CommandContext& context) { return context.fail("list is being built"); }
int runCat(const CommandContext& context) { return context.fail("cat is being built"); }
int runExtract(const CommandContext& context) { return context.fail("extract is being built"); }

}  // namespace lumora::pack
