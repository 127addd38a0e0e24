#pragma once
// The pieces every lumora-pack subcommand shares: its arguments, where it writes, and how it fails.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace lumora::pack {

// Exit codes of lumora-pack.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the work failed: a missing file, a damaged archive, an absent entry
inline constexpr int kExitUsage = 2;    // the command line was wrong

// What a subcommand receives: the words after its name, and the two output streams.
struct CommandContext {
    std::vector<std::string> args;
    std::ostream& out;
    std::ostream& err;

    // Prints "lumora-pack: <message>" as one line on err and returns kExitFailure.
    int fail(const std::string& message) const;
    // Prints "lumora-pack <command>: <message>" and the usage hint on err, and returns kExitUsage.
    int usageError(const std::string& command, const std::string& message) const;
};

// The arguments of a subcommand split into plain words and options. Flags take no value; valued options
// take the next word ("-C DIR").
struct ParsedArgs {
    std::vector<std::string> words;
    std::vector<std::string> flags;
    std::vector<std::pair<std::string, std::string>> values;
    std::string problem;  // empty when the arguments were well formed

    bool has(const std::string& flag) const;
    std::optional<std::string> value(const std::string& option) const;
};

// Splits args: words that start with '-' must be one of the flags or valued options; "--" ends the
// options, so later words are plain even when they start with '-'.
ParsedArgs parseArgs(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                     const std::vector<std::string>& valuedOptions);

}  // namespace lumora::pack
