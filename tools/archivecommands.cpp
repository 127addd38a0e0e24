// The archive subcommands: create, list, cat, extract.

#include <filesystem>
#include <system_error>

#include "codec/archivereader.h"
#include "codec/archivewriter.h"
#include "codec/fileio.h"
#include "codec/huffmancodec.h"
#include "tools/command.h"

namespace lumora::pack {

namespace {

// "<path>: <what went wrong>", without naming the path twice when the description already does.
std::string describe(const std::string& path, const Error& error) {
    if (error.description.find(path) != std::string::npos) {
        return error.description;
    }
    return path + ": " + error.description;
}

}  // namespace

int runCreate(const CommandContext& context) {
    const ParsedArgs parsed = parseArgs(context.args, {"--stored"}, {});
    if (!parsed.problem.empty()) {
        return context.usageError("create", parsed.problem);
    }
    if (parsed.words.size() < 2) {
        return context.usageError("create", "needs an archive and at least one file");
    }
    const std::string& archivePath = parsed.words[0];
    const bool stored = parsed.has("--stored");
    ArchiveWriter writer;
    for (size_t i = 1; i < parsed.words.size(); ++i) {
        const std::string& filePath = parsed.words[i];
        std::error_code ignored;
        if (!std::filesystem::is_regular_file(filePath, ignored)) {
            return context.fail(filePath + ": not a file");
        }
        auto bytes = fileio::readWhole(filePath, "lumora-pack create");
        if (!bytes) {
            return context.fail(describe(filePath, bytes.error()));
        }
        writer.addEntry(std::filesystem::path(filePath).filename().string(), std::move(bytes).value(),
                        stored);
    }
    auto written = writer.write(archivePath);
    if (!written) {
        return context.fail(describe(archivePath, written.error()));
    }
    return kExitOk;
}

int runList(const CommandContext& context) {
    const ParsedArgs parsed = parseArgs(context.args, {}, {});
    if (!parsed.problem.empty()) {
        return context.usageError("list", parsed.problem);
    }
    if (parsed.words.size() != 1) {
        return context.usageError("list", "needs exactly one archive");
    }
    auto entries = ArchiveReader::list(parsed.words[0]);
    if (!entries) {
        return context.fail(describe(parsed.words[0], entries.error()));
    }
    for (const ArchiveEntryInfo& entry : entries.value()) {
        context.out << entry.name << '\t' << entry.storedSize << '\n';
    }
    return kExitOk;
}

int runCat(const CommandContext& context) {
    const ParsedArgs parsed = parseArgs(context.args, {"--stored"}, {});
    if (!parsed.problem.empty()) {
        return context.usageError("cat", parsed.problem);
    }
    if (parsed.words.size() != 2) {
        return context.usageError("cat", "needs an archive and one entry name");
    }
    const std::string& archivePath = parsed.words[0];
    const std::string& name = parsed.words[1];
    auto entry = ArchiveReader::findStoredFile(archivePath, name);
    if (!entry) {
        return context.fail(describe(archivePath, entry.error()));
    }
    if (!entry.value().found) {
        return context.fail(archivePath + ": no entry named " + name);
    }
    std::vector<uint8_t> bytes = std::move(entry.value().bytes);
    if (!parsed.has("--stored")) {
        DecodeReport report;
        auto decoded = HuffmanCodec::decode(bytes, report);
        if (!decoded) {
            return context.fail(archivePath + ": entry " + name + ": " + decoded.error().description);
        }
        if (!report.problem.empty()) {
            return context.fail(archivePath + ": entry " + name + " is damaged: " + report.problem);
        }
        bytes = std::move(decoded).value();
    }
    context.out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
    return kExitOk;
}

int runExtract(const CommandContext& context) {
    const ParsedArgs parsed = parseArgs(context.args, {"--stored"}, {"-C"});
    if (!parsed.problem.empty()) {
        return context.usageError("extract", parsed.problem);
    }
    if (parsed.words.size() < 2) {
        return context.usageError("extract", "needs an archive and at least one entry name");
    }
    const std::string& archivePath = parsed.words[0];
    const std::string directory = parsed.value("-C").value_or(".");
    std::error_code ignored;
    if (!std::filesystem::is_directory(directory, ignored)) {
        return context.fail(directory + ": no such folder");
    }
    // Every name is tried; the exit status tells whether any failed.
    int status = kExitOk;
    for (size_t i = 1; i < parsed.words.size(); ++i) {
        auto extracted =
            ArchiveReader::extractFileTo(archivePath, parsed.words[i], directory, parsed.has("--stored"));
        if (!extracted) {
            status = context.fail(describe(archivePath, extracted.error()));
        }
    }
    return status;
}

}  // namespace lumora::pack
