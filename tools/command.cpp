#include "tools/command.h"

#include <algorithm>

namespace lumora::pack {

int CommandContext::fail(const std::string& message) const {
    err << "lumora-pack: " << message << '\n';
    return kExitFailure;
}

int CommandContext::usageError(const std::string& command, const std::string& message) const {
    err << "lumora-pack " << command << ": " << message << '\n'
        << "Try 'lumora-pack " << command << " --help'.\n";
    return kExitUsage;
}

bool ParsedArgs::has(const std::string& flag) const {
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

std::optional<std::string> ParsedArgs::value(const std::string& option) const {
    // The last occurrence wins, as with most command-line tools.
    for (auto it = values.rbegin(); it != values.rend(); ++it) {
        if (it->first == option) {
            return it->second;
        }
    }
    return std::nullopt;
}

ParsedArgs parseArgs(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                     const std::vector<std::string>& valuedOptions) {
    ParsedArgs parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            parsed.words.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (std::find(flags.begin(), flags.end(), word) != flags.end()) {
            parsed.flags.push_back(word);
        } else if (std::find(valuedOptions.begin(), valuedOptions.end(), word) != valuedOptions.end()) {
            if (i + 1 == args.size()) {
                parsed.problem = "option " + word + " needs a value";
                return parsed;
            }
            parsed.values.emplace_back(word, args[++i]);
        } else {
            parsed.problem = "unknown option " + word;
            return parsed;
        }
    }
    return parsed;
}

}  // namespace lumora::pack
