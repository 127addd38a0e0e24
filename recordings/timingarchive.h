#pragma once
// TimingArchive: which suras a timing archive (a pos.dat of NNN.pos entries) holds timings for, read once
// from the archive's directory. The entries themselves are read when a sura loads.

#include <QString>
#include <bitset>

#include "codec/result.h"
#include "codec/suracatalogue.h"

namespace lumora {

class TimingArchive {
public:
    // An absent file holds nothing and is no error; a file that cannot be read, or whose directory is
    // damaged, and anything of that name that is no file (a link to nothing, a pipe, a folder) are errors
    // naming the path.
    static Result<TimingArchive> open(const QString& path);

    TimingArchive() = default;

    QString path() const { return m_path; }
    bool exists() const { return m_exists; }
    // True when the archive has an entry named after the sura ("002.pos"); false outside 1..114.
    bool holds(int sura) const;

private:
    QString m_path;
    bool m_exists = false;
    std::bitset<SuraCatalogue::kSuraCount + 1> m_suras;
};

}  // namespace lumora
