#pragma once
// PosArchive: a folder's pos.dat, the archive holding one stored NNN.pos timing entry per sura. Writing
// replaces the named suras' entries (or adds them at the end) and keeps every other entry byte for byte, in
// its place. The new archive is written beside the old one and renamed over it, so a failed write leaves
// the previous archive whole, and a damaged archive is refused rather than overwritten.

#include <string>
#include <vector>

#include "codec/result.h"
#include "timing/versemarks.h"

namespace lumora {

class PosArchive {
public:
    static constexpr char kFileName[] = "pos.dat";

    // folder + "/pos.dat", or the folder's archive spelt in another case ("POS.DAT") when it has no pos.dat:
    // the archive the player reads.
    static std::string pathIn(const std::string& folder);

    static Result<void> writeSuras(const std::string& archivePath, const SuraTimings& timings);
    // The suras that have an entry, in ascending order; an archive that does not exist has none.
    static Result<std::vector<int>> suras(const std::string& archivePath);
    // Every start and end moved by deltaMs (for a recording re-encoded with another start), kept within
    // 0..INT32_MAX.
    static std::vector<VerseTiming> shifted(std::vector<VerseTiming> records, int32_t deltaMs);
    // The sura's records as the player reads them; an error when the archive has no entry for it.
    static Result<std::vector<VerseTiming>> readSura(const std::string& archivePath, int sura);
};

}  // namespace lumora
