#include "text/versetextassignment.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "codec/archivereader.h"
#include "codec/suracatalogue.h"
#include "text/hiddenwords.h"
#include "text/packagetext.h"

namespace lumora {

namespace {

constexpr int kSuraWithoutFormula = 9;
// The caption label and the buttons of a pane's header row keep these gaps, in twips.
constexpr int kCaptionGapTw = 100;
constexpr int kButtonGapTw = 20;

Result<ExtractedEntry> extract(const QString& archivePath, const QString& name) {
    return ArchiveReader::extractFile(QFile::encodeName(archivePath).toStdString(), name.toStdString());
}

Error loadFailure(int32_t number, const QString& description) {
    return Error{number, "LoadPaneTexts", description.toStdString()};
}

Error archiveFailure(const Error& error) {
    return Error{error.number, "LoadPaneTexts", ArchiveReader::failureMessage(error)};
}

// Line i of the file goes to slot firstSlot + i until the table is full; returns the slots left unfilled.
int fillSlots(QStringList& table, int firstSlot, const QStringList& lines) {
    int slot = firstSlot;
    for (; slot < table.size() && slot - firstSlot < lines.size(); ++slot) table[slot] = lines[slot - firstSlot];
    return static_cast<int>(table.size()) - slot;
}

}  // namespace

VerseTextAssignment::VerseTextAssignment(QString appFolder, QObject* parent)
    : QObject(parent), m_appFolder(std::move(appFolder)) {
    for (auto& properties : m_panes) properties = std::make_unique<DisplayProperties>(m_appFolder);
}

DisplayProperties& VerseTextAssignment::pane(int pane) { return *m_panes.at(static_cast<size_t>(pane - 1)); }

const DisplayProperties& VerseTextAssignment::pane(int pane) const {
    return *m_panes.at(static_cast<size_t>(pane - 1));
}

QString VerseTextAssignment::paneText(int slot, int pane) const {
    if (!validPane(pane) || slot < 0 || slot >= m_slotCount) return {};
    return m_paneTexts[static_cast<size_t>(pane - 1)][slot];
}

QString VerseTextAssignment::wordByWordLine(int slot) const {
    return slot >= 0 && slot < m_slotCount ? m_wordByWordLines[slot] : QString();
}

int VerseTextAssignment::wordMeaningsPane() const {
    for (int paneNumber = 1; paneNumber <= kPaneCount; ++paneNumber) {
        if (!pane(paneNumber).wordByWordDataFile().isEmpty()) return paneNumber;
    }
    return 0;
}

QString VerseTextAssignment::wordMeaningsText(int slot) const {
    const int paneNumber = wordMeaningsPane();
    if (paneNumber == 0) return {};
    QStringList lines;
    const QString line = DisplayProperties::cleanWordByWord(wordByWordLine(slot));
    for (const DisplayProperties::WordMeaning& group :
         DisplayProperties::wordMeanings(paneText(slot, paneNumber), line)) {
        lines.append(group.words + QStringLiteral(": ") + group.meaning);
    }
    return lines.join(u'\n');
}

bool VerseTextAssignment::wordByWordHintVisible(int pane) const {
    return validPane(pane) && m_hintVisible[static_cast<size_t>(pane - 1)];
}

Result<void> VerseTextAssignment::loadSuraTexts(int sura, int slotCount) {
    if (sura < 1 || sura > SuraCatalogue::kSuraCount || slotCount < 0) {
        return Error{kSubscriptOutOfRange, "LoadPaneTexts",
                     QStringLiteral("There is no sura %1 with %2 verses.").arg(sura).arg(slotCount).toStdString()};
    }
    m_sura = sura;
    m_slotCount = slotCount;
    m_shownSlot = -1;
    const QStringList empty(slotCount, QString());
    for (QStringList& texts : m_paneTexts) texts = empty;
    m_wordByWordLines = empty;

    std::vector<Error> failures;
    for (int paneNumber = 1; paneNumber <= kPaneCount; ++paneNumber) loadPaneTexts(paneNumber, failures);
    if (failures.empty()) return {};
    QStringList descriptions;
    for (const Error& failure : failures) descriptions.append(QString::fromStdString(failure.description));
    Error error = failures.front();
    error.description = descriptions.join(QChar(u'\n')).toStdString();
    return error;
}

Result<void> VerseTextAssignment::reloadSuraTexts() {
    if (m_sura == 0) return {};
    return loadSuraTexts(m_sura, m_slotCount);
}

void VerseTextAssignment::loadPaneTexts(int paneNumber, std::vector<Error>& failures) {
    const DisplayProperties& properties = pane(paneNumber);
    const QString archive = properties.packagePath();
    if (!QFileInfo(archive).isFile()) return;

    const QString entry = PackageText::suraEntryName(m_sura);
    Result<ExtractedEntry> file = extract(archive, entry);
    if (!file) {
        failures.push_back(archiveFailure(file.error()));
        return;
    }
    if (!file.value().found) {
        failures.push_back(loadFailure(kFileNotFound, QStringLiteral("The text \"%1\" has no text for sura %2 "
                                                                     "(%3 is missing from its package).")
                                                          .arg(properties.transName())
                                                          .arg(m_sura)
                                                          .arg(entry)));
        return;
    }
    const QStringList lines = PackageText::splitLines(PackageText::decode(file.value().bytes, properties.isUnicode()));

    QStringList& texts = m_paneTexts[static_cast<size_t>(paneNumber - 1)];
    int firstSlot = 0;
    if (m_sura != kSuraWithoutFormula) {
        firstSlot = 1;
        if (m_slotCount > 0) texts[0] = m_sura == 1 ? properties.bismiForSura1() : properties.bismiText();
    }
    // The text is filled before the word-by-word lines so that missing word meanings never cost the text.
    if (const int unfilled = fillSlots(texts, firstSlot, lines); unfilled > 0) {
        failures.push_back(loadFailure(kTooFewLines, QStringLiteral("The text \"%1\" has %2 lines for sura %3, but "
                                                                    "%4 are needed; the last %5 verses stay empty.")
                                                         .arg(properties.transName())
                                                         .arg(lines.size())
                                                         .arg(m_sura)
                                                         .arg(m_slotCount - firstSlot)
                                                         .arg(unfilled)));
    }
    if (!properties.wordByWordDataFile().isEmpty()) loadWordByWord(properties, failures);
}

void VerseTextAssignment::loadWordByWord(const DisplayProperties& properties, std::vector<Error>& failures) {
    QString file = properties.wordByWordDataFile();
    file.replace(u'\\', u'/');
    const QString archive = m_appFolder + QStringLiteral("/data/") + file;
    if (!QFileInfo(archive).isFile()) {
        failures.push_back(loadFailure(kFileNotFound, QStringLiteral("The word-by-word file \"%1\" of the text \"%2\" "
                                                                     "is missing.")
                                                          .arg(file, properties.transName())));
        return;
    }
    const QString entry = PackageText::suraEntryName(m_sura);
    Result<ExtractedEntry> extracted = extract(archive, entry);
    if (!extracted) {
        failures.push_back(archiveFailure(extracted.error()));
        return;
    }
    // Word meanings may cover only some suras; the others simply show no meanings.
    if (!extracted.value().found) return;
    // Word-by-word files are UTF-16 whatever their text package uses.
    const QStringList lines = PackageText::splitLines(PackageText::fromUtf16Le(extracted.value().bytes));
    int firstSlot = 0;
    if (m_sura != kSuraWithoutFormula) {
        firstSlot = 1;
        if (m_slotCount > 0) m_wordByWordLines[0] = DisplayProperties::kOpeningFormulaWordByWord;
    }
    if (const int unfilled = fillSlots(m_wordByWordLines, firstSlot, lines); unfilled > 0) {
        failures.push_back(loadFailure(kTooFewLines, QStringLiteral("The word-by-word file \"%1\" has %2 lines for "
                                                                    "sura %3, but %4 are needed.")
                                                         .arg(file)
                                                         .arg(lines.size())
                                                         .arg(m_sura)
                                                         .arg(m_slotCount - firstSlot)));
    }
}

void VerseTextAssignment::setText(int slot) {
    if (slot < 0 || slot >= m_slotCount) return;
    for (int paneNumber = 1; paneNumber <= kPaneCount; ++paneNumber) {
        DisplayProperties& properties = pane(paneNumber);
        const bool hasWordByWord = !properties.wordByWordDataFile().isEmpty();
        properties.setWordByWordText(hasWordByWord ? m_wordByWordLines[slot] : QString());
        m_hintVisible[static_cast<size_t>(paneNumber - 1)] = hasWordByWord;
        emit wordByWordHintChanged(paneNumber, hasWordByWord);
    }
    for (int paneNumber = 1; paneNumber <= kPaneCount; ++paneNumber) {
        DisplayProperties& properties = pane(paneNumber);
        properties.setHiddenFrom(firstHiddenWord(properties));
        properties.setDisplayText(m_paneTexts[static_cast<size_t>(paneNumber - 1)][slot]);
    }
    m_shownSlot = slot;
}

bool VerseTextAssignment::showsArabic(const DisplayProperties& properties) {
    return properties.transName().startsWith(QStringLiteral("Arabic"), Qt::CaseInsensitive);
}

int VerseTextAssignment::firstHiddenWord(const DisplayProperties& properties) const {
    const bool hidden = showsArabic(properties) ? m_hidden.arabic : m_hidden.translations;
    return hidden ? std::max(m_hidden.revealedWords, 0) : -1;
}

void VerseTextAssignment::setHiddenWords(const HiddenPanes& hidden) {
    m_hidden = hidden;
    for (int paneNumber = 1; paneNumber <= kPaneCount; ++paneNumber) {
        DisplayProperties& properties = pane(paneNumber);
        const int first = firstHiddenWord(properties);
        if (first == properties.hiddenFrom()) continue;
        properties.setHiddenFrom(first);
        // Before the first verse is shown there is no page to build again.
        if (m_shownSlot >= 0) properties.setWB();
    }
}

int VerseTextAssignment::shownWordCount(int paneNumber) const {
    if (!validPane(paneNumber) || m_shownSlot < 0) return 0;
    return HiddenWords::wordCount(pane(paneNumber).displayText());
}

Result<VerseTextAssignment::PaneAssignment> VerseTextAssignment::assignTrans(int paneNumber, const QString& name) {
    if (!validPane(paneNumber)) return Error{kSubscriptOutOfRange, "AssignTrans", "Subscript out of range", 1};
    DisplayProperties& properties = pane(paneNumber);
    PaneAssignment assignment;
    if (Result<void> selected = properties.setTransName(name); !selected) {
        assignment.failureMessage = DisplayProperties::failureMessage(selected.error());
    }
    assignment.buttonCaption = properties.buttonCaption();
    assignment.windowCaption = properties.windowCaption() + u' ';
    assignment.menuCaption = QStringLiteral("&%1. %2").arg(paneNumber).arg(properties.buttonCaption());
    return assignment;
}

VerseTextAssignment::HeaderRow VerseTextAssignment::headerRow(const HeaderWidths& widths) {
    HeaderRow row;
    row.transMenuLeftTw = widths.captionLeftTw + widths.captionWidthTw + kCaptionGapTw;
    row.plusLeftTw = row.transMenuLeftTw + widths.transMenuWidthTw + kButtonGapTw;
    row.minusLeftTw = row.plusLeftTw + widths.plusWidthTw + kButtonGapTw;
    row.copyLeftTw = row.minusLeftTw + widths.minusWidthTw + kButtonGapTw;
    return row;
}

QString VerseTextAssignment::failureMessage(const Error& error) {
    return QStringLiteral("Error %1 (%2) in procedure AssignTrans of Form frmMainNew %3")
        .arg(error.number)
        .arg(QString::fromStdString(error.description))
        .arg(error.step);
}

bool VerseTextAssignment::increaseFontSize(int paneNumber) {
    if (!validPane(paneNumber)) return false;
    DisplayProperties& properties = pane(paneNumber);
    properties.setFontSize(properties.fontSize() + 1);
    setText(m_shownSlot);
    return true;
}

bool VerseTextAssignment::decreaseFontSize(int paneNumber) {
    if (!validPane(paneNumber)) return false;
    DisplayProperties& properties = pane(paneNumber);
    if (properties.fontSize() <= 1) return false;
    properties.setFontSize(properties.fontSize() - 1);
    setText(m_shownSlot);
    return true;
}

QString VerseTextAssignment::copyText(const QString& documentText) {
    QString text = documentText;
    text.replace(QStringLiteral("\r\n\r\n"), QStringLiteral("\r\n"));
    return text;
}

std::optional<QString> VerseTextAssignment::toolTipText(const QString& statusText) {
    QString text = statusText;
    text.remove(QStringLiteral("about:"));
    if (text.isEmpty() || text == QStringLiteral("Done")) return std::nullopt;
    return text;
}

VerseTextAssignment::PlayRequest VerseTextAssignment::playRequest(const QString& navigationTarget) {
    if (navigationTarget.contains(QStringLiteral("click"))) return PlayRequest::CurrentVerse;
    if (navigationTarget.contains(QStringLiteral("right"))) return PlayRequest::NextVerse;
    return PlayRequest::None;
}

}  // namespace lumora
