#pragma once
// VerseTextSource: one text of the Quran (the Arabic, a translation or a transliteration) read from a JSON
// file of the sample data set: an array of suras, each {"id": n, "verses": [{"id": k, "<field>": "..."}]}.
// Reading checks the shape and every count, so a damaged or different data set stops the build with a
// message that names the sura and verse, instead of silently shifting verses.

#include <QByteArray>
#include <QString>
#include <vector>

#include "codec/result.h"

namespace lumora::pack {

class VerseTextSource {
public:
    // The verse count of each sura, sura 1 first: 114 entries, 6,236 verses in all.
    static std::vector<int> quranVerseCounts();

    // expectedVerseCounts[i] is the verse count sura i + 1 must have; the file must hold exactly
    // expectedVerseCounts.size() suras. sourceName names the file in messages.
    static Result<VerseTextSource> parse(const QByteArray& json, const QString& field,
                                         const std::vector<int>& expectedVerseCounts,
                                         const QString& sourceName);
    static Result<VerseTextSource> load(const QString& path, const QString& field,
                                        const std::vector<int>& expectedVerseCounts);

    int suraCount() const { return static_cast<int>(m_suras.size()); }
    // The verses of sura (1-based), verse 1 first.
    const std::vector<QString>& verses(int sura) const { return m_suras.at(static_cast<size_t>(sura - 1)); }
    const QString& verse(int sura, int verse) const {
        return verses(sura).at(static_cast<size_t>(verse - 1));
    }

private:
    std::vector<std::vector<QString>> m_suras;
};

}  // namespace lumora::pack
