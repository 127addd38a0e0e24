// lumora-pack: builds, lists and unpacks Lumora's data archives and makes the files that go into them.

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "tools/command.h"

namespace lumora::pack {

// Each subcommand is one function in its own .cpp. Adding one takes that file, its line in the table
// below (with the declaration beside it) and its source in tools/CMakeLists.txt.
int runCreate(const CommandContext& context);
int runList(const CommandContext& context);
int runCat(const CommandContext& context);
int runExtract(const CommandContext& context);
int runTimings(const CommandContext& context);
int runTextPackage(const CommandContext& context);
int runSample(const CommandContext& context);
int runMp3Info(const CommandContext& context);
int runPractice(const CommandContext& context);
int runTimingsImport(const CommandContext& context);
int runTimingsExport(const CommandContext& context);
int runAutotime(const CommandContext& context);
int runRecordings(const CommandContext& context);

namespace {

struct Command {
    const char* name;
    const char* usage;  // the arguments after the name
    const char* summary;
    int (*run)(const CommandContext&);
};

const Command kCommands[] = {
    {"create", "ARCHIVE [--stored] FILE...",
     "Build ARCHIVE from the FILEs, each an entry under its base name, Huffman-encoded unless --stored.",
     &runCreate},
    {"list", "ARCHIVE", "Print one line per entry: its name, a tab, and its size in the archive.", &runList},
    {"cat", "ARCHIVE NAME [--stored]",
     "Write the decoded entry NAME (with --stored: its bytes as they are) to standard output.", &runCat},
    {"extract", "ARCHIVE NAME... [-C DIR] [--stored]",
     "Write each entry NAME as a file in DIR (default: the current folder), replacing a file of that name.",
     &runExtract},
    {"timings", "OUT.pos ROWS.csv",
     "Write a verse timing entry from rows of record,start_ms,end_ms (for building pos.dat).", &runTimings},
    {"text-package", "SOURCE.json OUT.dat --config CONFIG.ini [--arabic] [--field NAME]",
     "Convert one text of the quran-json data set into a text package (UTF-16 sura files, Huffman-encoded).",
     &runTextPackage},
    {"sample", "--texts DIR --inputs DIR --help-pages DIR --out DIR [--lame PATH] [--mpg123 PATH]",
     "Build the whole sample program folder (text packages, word meanings, placeholder recordings and their "
     "timings, help pages, config.ini, manifest) and check the recordings against their timings.",
     &runSample},
    {"mp3info", "FILE [--at MS]... | FOLDER --sura N [--at MS]...",
     "Print the length in ms, sample rate, channels and frame count of an MP3 file, then one line "
     "\"MS OFFSET\" per --at: the byte offset of the frame that holds that time. With --sura, FOLDER "
     "holds one file per verse (SSSVVV.mp3): print each record's start and end ms in the sura's files "
     "played as one recording, and per --at the file and offset of the frame that holds that time.",
     &runMp3Info},
    {"practice",
     "RECITER_FOLDER --sura N --from V --to W [--repeat K] [--pause-verse S] [--pause-range S] [--speed X] "
     "[--program-folder DIR] OUT.mp3|OUT.opus",
     "Write a practice track: verses V to W of sura N as range mode plays them, with the pauses in seconds, "
     "K times (0 counts as once), at speed X. The folder holds NNN.mp3, timed by its own pos.dat when that "
     "holds the sura, else by the program folder's data/pos.dat; or one file per verse (SSSVVV.mp3), timed "
     "by the files.",
     &runPractice},
    {"timings-import", "FORMAT FILE --sura N|--all --into RECITER_FOLDER",
     "Read verse timings in FORMAT (sqlite, json, csv, labels or lrc) and write them into the folder's "
     "pos.dat, one entry per sura, leaving the other suras' entries as they were. A fault in the file is "
     "named with its row, and then nothing is written.",
     &runTimingsImport},
    {"timings-export", "FORMAT --sura N|--all --from RECITER_FOLDER [--out FILE]",
     "Write the folder's verse timings as csv, labels (to standard output without --out) or an sqlite "
     "database (--out needed), in the same form timings-import reads.",
     &runTimingsExport},
    {"autotime", "RECORDING.mp3 --sura N [--program-folder DIR] [--into RECITER_FOLDER]",
     "Find the verse timings of a sura's recording from its pauses and the lengths of the verses' Arabic "
     "text (from the program folder's Arabic text package); print record,start_ms,end_ms rows, with the "
     "uncertain records named after them, and with --into store them in the folder's pos.dat.",
     &runAutotime},
    {"recordings", "FOLDER [--program-folder DIR]",
     "Print for each sura what a reciter's FOLDER holds (per-sura file, per-verse files present/expected) and "
     "where its timings come from (own pos.dat, the program folder's data/pos.dat, none); DIR defaults to "
     "lumora-pack's own folder. Fails when a file cannot be read.",
     &runRecordings},
};

void printUsage(std::ostream& stream) {
    stream << "usage: lumora-pack COMMAND [ARGUMENTS]\n\n"
              "Builds, lists and unpacks Lumora's data archives.\n\n"
              "Commands:\n";
    for (const Command& command : kCommands) {
        stream << "  " << command.name << ' ' << command.usage << "\n      " << command.summary << '\n';
    }
    stream << "\n'lumora-pack COMMAND --help' shows one command's usage.\n"
              "Exit status: 0 on success, 1 when the work failed, 2 when the command line was wrong.\n";
}

bool isHelp(const std::string& word) {
    return word == "--help" || word == "-h" || word == "help";
}

}  // namespace

int runPack(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    if (words.empty()) {
        printUsage(err);
        return kExitUsage;
    }
    if (isHelp(words[0])) {
        printUsage(out);
        return kExitOk;
    }
    for (const Command& command : kCommands) {
        if (words[0] != command.name) {
            continue;
        }
        std::vector<std::string> args(words.begin() + 1, words.end());
        for (const std::string& arg : args) {
            if (arg == "--") {
                break;
            }
            if (arg == "--help" || arg == "-h") {
                out << "usage: lumora-pack " << command.name << ' ' << command.usage << '\n'
                    << command.summary << '\n';
                return kExitOk;
            }
        }
        return command.run(CommandContext{std::move(args), out, err});
    }
    err << "lumora-pack: unknown command '" << words[0] << "'\nTry 'lumora-pack --help'.\n";
    return kExitUsage;
}

}  // namespace lumora::pack

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> words(argv + 1, argv + argc);
    const int status = lumora::pack::runPack(words, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "lumora-pack: could not write to standard output: " << std::strerror(errno) << '\n';
        return lumora::pack::kExitFailure;
    }
    return status;
}
