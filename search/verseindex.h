#pragma once
// The verse index: every verse of every installed text package, as read from its sura files, beside its
// folded form (SearchNormalizer), held in memory. Built once, off the window's thread when the window wants
// (the build can be cancelled and reports its progress), then searched on every keystroke; an index never
// changes after its build, so searching needs no lock.
//
// A query matches a verse when its folded form appears in the verse's folded form, where an optional
// letter of the verse may stand for the same letter of the query or be passed by. Each verse of each text
// counts once; results come text by text (in the order the texts are installed), then by sura and verse.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "codec/result.h"
#include "search/searchnormalizer.h"

namespace lumora {

class VerseIndex {
public:
    // A build stopped by its cancel flag.
    static constexpr int32_t kCancelled = 1;
    // The most results a search gives by default.
    static constexpr int kDefaultLimit = 200;

    struct TextInfo {
        QString name;          // the package name (its file name without ".dat")
        QString caption;       // the package's window caption, else its name
        bool rightToLeft = false;
    };

    struct Hit {
        int text = 0;          // index into texts()
        int sura = 0;
        int verse = 0;         // the verse number as shown to the user
        // The first match in the verse text, in UTF-16 units of verseText(hit).
        int matchStart = 0;
        int matchLength = 0;
        // The verse's place among its text's verses, for verseText.
        int entry = 0;
    };

    struct Results {
        std::vector<Hit> hits;     // at most the limit asked for
        int64_t total = 0;         // every matching verse of every text
        bool emptyQuery = false;   // the query folded to nothing (blank, or only marks and signs)
    };

    struct BuildControl {
        // Checked between suras; the build ends with kCancelled when it turns true.
        const std::atomic<bool>* cancel = nullptr;
        // Suras done and suras to do over all texts; called on the building thread.
        std::function<void(int done, int total)> progress;
    };

    VerseIndex() = default;

    // Reads every package of appFolder/data/tdata. A package that cannot be read is left out and named in
    // unreadable() with the reason; only cancellation fails the build.
    static Result<VerseIndex> build(const QString& appFolder, const BuildControl& control);
    static Result<VerseIndex> build(const QString& appFolder);
    // What the installed packages are now (names, sizes, modification times): an index whose signature
    // differs is out of date.
    static QString signature(const QString& appFolder);

    const std::vector<TextInfo>& texts() const { return m_texts; }
    // "<name>: <reason>" for each package left out.
    const QStringList& unreadable() const { return m_unreadable; }
    QString builtSignature() const { return m_signature; }
    int64_t verseCount() const;

    // The verses matching the query; onlyText limits the search to one text (-1: all).
    Results search(QStringView query, int limit = kDefaultLimit, int onlyText = -1) const;
    // The verse text of a hit as the package holds it.
    QStringView verseText(const Hit& hit) const;

private:
    struct Verse {
        int16_t sura = 0;
        int16_t verse = 0;
        int32_t sourceStart = 0;   // in Text::source
        int32_t sourceEnd = 0;
        int32_t foldedStart = 0;   // in Text::folded.text
        int32_t foldedEnd = 0;
    };
    struct Text {
        QString source;                  // the verses one after another, each ended by a line feed
        SearchNormalizer::Mapped folded; // likewise folded, source indices into `source`
        std::vector<Verse> verses;
        int32_t longestFolded = 0;       // the longest folded verse: no longer query can match
    };

    static void addVerse(Text& text, int sura, int verse, QStringView source);
    void searchText(int textIndex, const QString& query, int limit, Results& results) const;

    std::vector<TextInfo> m_texts;
    std::vector<Text> m_data;
    QStringList m_unreadable;
    QString m_signature;
};

}  // namespace lumora
