#pragma once
// Runs lumora-pack as its users do: a real process in a scratch folder, its output, messages and exit
// status captured through files.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/scratchfolder.h"

extern char** environ;

namespace lumora::test {

struct PackRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string packPath() {
    const char* folder = std::getenv("LUMORA_PROGRAM_FOLDER");
    return std::string(folder != nullptr ? folder : ".") + "/lumora-pack";
}

// Runs lumora-pack with the arguments, in `folder`, capturing both output streams through files.
inline PackRun pack(const ScratchFolder& folder, const std::vector<std::string>& args) {
    const std::string outPath = folder.file(".stdout");
    const std::string errPath = folder.file(".stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    const std::string program = packPath();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    PackRun run;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    std::filesystem::current_path(previous);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << program;
        return run;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    const std::vector<uint8_t> out = ScratchFolder::read(outPath);
    const std::vector<uint8_t> err = ScratchFolder::read(errPath);
    run.out.assign(out.begin(), out.end());
    run.err.assign(err.begin(), err.end());
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
}

}  // namespace lumora::test
