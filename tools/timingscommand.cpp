// The timings subcommand: a verse timing entry from CSV rows of record,start_ms,end_ms.

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <optional>
#include <string_view>

#include "codec/fileio.h"
#include "codec/versetimingtable.h"
#include "timing/textfields.h"
#include "tools/command.h"

namespace lumora::pack {

namespace {

using textfields::trim;
using textfields::wholeNumber;

// Rows are record,start_ms,end_ms; blank lines and lines starting with '#' are skipped, and so is a first
// row of column names. Records may come in any order but must run from 0 without a gap or a repeat.
struct Rows {
    std::vector<VerseTiming> records;
    std::string problem;  // "<line>: <what is wrong>" or " <what is wrong>"; empty when the rows are sound
};

Rows parseRows(std::istream& input) {
    Rows rows;
    std::map<int64_t, VerseTiming> byRecord;
    std::string line;
    int lineNumber = 0;
    bool firstRow = true;
    while (std::getline(input, line)) {
        ++lineNumber;
        std::string_view text = trim(line);
        // A byte order mark, as editors on other systems write, is no part of the first row.
        if (lineNumber == 1 && text.substr(0, 3) == "\xEF\xBB\xBF") text = trim(text.substr(3));
        if (text.empty() || text.front() == '#') {
            continue;
        }
        std::vector<std::string_view> fields;
        size_t start = 0;
        for (size_t comma = text.find(','); comma != std::string_view::npos; comma = text.find(',', start)) {
            fields.push_back(text.substr(start, comma - start));
            start = comma + 1;
        }
        fields.push_back(text.substr(start));
        // Column names hold no numbers; a first row that does is data, even when one of them is damaged.
        const bool header = firstRow && fields.size() == 3 &&
                            std::none_of(fields.begin(), fields.end(),
                                         [](std::string_view field) { return wholeNumber(field).has_value(); });
        firstRow = false;
        if (header) {
            continue;
        }
        const auto where = std::to_string(lineNumber) + ": ";
        if (fields.size() != 3) {
            rows.problem = where + "expected three fields, record,start_ms,end_ms";
            return rows;
        }
        const auto record = wholeNumber(fields[0]);
        const auto startMs = wholeNumber(fields[1]);
        const auto endMs = wholeNumber(fields[2]);
        if (!record || *record < 0 || *record > 100000) {
            rows.problem = where + "the record is not a number from 0 to 100000";
            return rows;
        }
        if (!startMs || !endMs || *startMs < INT32_MIN || *startMs > INT32_MAX || *endMs < INT32_MIN ||
            *endMs > INT32_MAX) {
            rows.problem = where + "the times must be whole milliseconds that fit in 32 bits";
            return rows;
        }
        const VerseTiming timing{static_cast<int32_t>(*startMs), static_cast<int32_t>(*endMs)};
        if (!byRecord.emplace(*record, timing).second) {
            rows.problem = where + "record " + std::to_string(*record) + " is given twice";
            return rows;
        }
    }
    if (byRecord.empty()) {
        rows.problem = " there are no rows";
        return rows;
    }
    for (const auto& [record, timing] : byRecord) {
        if (record != static_cast<int64_t>(rows.records.size())) {
            rows.problem = " record " + std::to_string(rows.records.size()) + " is missing";
            return rows;
        }
        rows.records.push_back(timing);
    }
    return rows;
}

}  // namespace

int runTimings(const CommandContext& context) {
    const ParsedArgs parsed = parseArgs(context.args, {}, {});
    if (!parsed.problem.empty()) {
        return context.usageError("timings", parsed.problem);
    }
    if (parsed.words.size() != 2) {
        return context.usageError("timings", "needs an output file and a CSV file");
    }
    const std::string& outPath = parsed.words[0];
    const std::string& csvPath = parsed.words[1];
    std::ifstream input(csvPath);
    if (!input) {
        return context.fail(csvPath + ": cannot be read");
    }
    const Rows rows = parseRows(input);
    if (input.bad()) {
        return context.fail(csvPath + ": cannot be read");
    }
    if (!rows.problem.empty()) {
        return context.fail(csvPath + ":" + rows.problem);
    }
    auto written = fileio::replace(outPath, VerseTimingTable::encode(rows.records), "lumora-pack timings");
    if (!written) {
        return context.fail(written.error().description);
    }
    return kExitOk;
}

}  // namespace lumora::pack
