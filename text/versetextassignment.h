#pragma once
// The verse texts of the four text panes: owns the panes' display properties, the pane texts and the
// word-by-word lines of the loaded sura (one per slot of its verse table), and shows one slot in all four
// panes. Also the pane logic the window calls: putting a text into a pane, font size steps, the copied
// text, the word-meaning tip and the meaning of a click in a pane.
//
// Slots: slot 0 is the opening formula in every sura but 9 (in sura 1 it is verse 1); in sura 9 slot k
// is verse k + 1. A sura text file's line 0 is the first verse after slot 0's formula (sura 9: slot 0).

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "codec/result.h"
#include "text/displayproperties.h"

namespace lumora {

class VerseTextAssignment : public QObject {
    Q_OBJECT
public:
    static constexpr int kPaneCount = 4;
    // A pane number outside 1..4.
    static constexpr int32_t kSubscriptOutOfRange = 9;
    // A sura text entry or a word-by-word file that is missing.
    static constexpr int32_t kFileNotFound = 53;
    // A sura text or word-by-word file with fewer lines than the sura has slots.
    static constexpr int32_t kTooFewLines = 62;

    // What the window shows after a text was put into a pane.
    struct PaneAssignment {
        QString buttonCaption;   // the show/hide button
        QString windowCaption;   // the caption label above the pane
        QString menuCaption;     // the pane's entry in the texts menu, with the pane number as accelerator
        // The failure of selecting the package, already in its message form; empty when none.
        QString failureMessage;
    };

    // The header row of a pane, left to right, in twips. The window passes the caption label's place and
    // the widths of the buttons after the captions are set (the label's width follows its caption).
    struct HeaderWidths {
        int captionLeftTw = 0;
        int captionWidthTw = 0;
        int transMenuWidthTw = 0;
        int plusWidthTw = 0;
        int minusWidthTw = 0;
    };
    struct HeaderRow {
        int transMenuLeftTw = 0;
        int plusLeftTw = 0;
        int minusLeftTw = 0;
        int copyLeftTw = 0;
    };

    // What a navigation request of a pane view asks for. Every request is cancelled after handling.
    enum class PlayRequest { None, CurrentVerse, NextVerse };

    explicit VerseTextAssignment(QString appFolder, QObject* parent = nullptr);

    // Pane 1..4.
    DisplayProperties& pane(int pane);
    const DisplayProperties& pane(int pane) const;

    // Fills the pane texts (panes 1 to 4 in order) and the word-by-word lines of a sura whose verse table
    // has slotCount slots; what the previous sura left is cleared first. A pane whose package file is
    // missing stays empty without complaint, and so do the word meanings of a sura that its word-by-word
    // file does not cover. A missing or short sura entry, a missing word-by-word file, a short
    // word-by-word entry or a damaged archive fails the load: every pane still loads as far as it can,
    // the slots filled keep their texts, and the error's description is one message naming every failure.
    Result<void> loadSuraTexts(int sura, int slotCount);
    // Loads the loaded sura's texts again (after a pane's text changed); nothing while no sura is loaded.
    Result<void> reloadSuraTexts();
    int loadedSura() const { return m_sura; }
    int slotCount() const { return m_slotCount; }
    QString paneText(int slot, int pane) const;
    QString wordByWordLine(int slot) const;
    // The first pane that shows word-by-word data, 0 when none does.
    int wordMeaningsPane() const;
    // The meanings of a slot's words in that pane, one "words: meaning" line per group; empty when no
    // pane has word-by-word data or the slot has no meanings.
    QString wordMeaningsText(int slot) const;

    // Shows a slot in all four panes: each pane's word-by-word text and hint (only panes with word-by-word
    // data get the slot's line and a visible hint), then each pane's page. A slot outside the table
    // changes nothing.
    void setText(int slot);
    // Recall mode's blanks: which panes draw the shown verse's words as blanks, and how many words from
    // the start stay readable as hints. Panes showing an Arabic text follow `arabic`, the others
    // `translations`. Kept across setText; panes whose blanks change are built again at once.
    struct HiddenPanes {
        bool arabic = false;
        bool translations = false;
        int revealedWords = 0;
        bool operator==(const HiddenPanes&) const = default;
    };
    void setHiddenWords(const HiddenPanes& hidden);
    const HiddenPanes& hiddenWords() const { return m_hidden; }
    // Whether a pane's text is an Arabic text rather than a translation: its package name begins with
    // "Arabic", as every Arabic text package's does.
    static bool showsArabic(const DisplayProperties& properties);
    // The words of the verse a pane shows now.
    int shownWordCount(int pane) const;

    // The slot last shown, -1 before the first.
    int shownSlot() const { return m_shownSlot; }
    bool wordByWordHintVisible(int pane) const;

    // Puts the package of that name into a pane. The captions come back even when reading the package
    // failed; only a pane number outside 1..4 is an error (see failureMessage). The caller reloads the
    // sura's texts and shows the slot again.
    Result<PaneAssignment> assignTrans(int pane, const QString& name);
    static HeaderRow headerRow(const HeaderWidths& widths);
    // The text of an assignTrans error.
    static QString failureMessage(const Error& error);

    // Font size one up (no upper limit) or one down (not below 1); the current slot is shown again.
    // False when nothing changed.
    bool increaseFontSize(int pane);
    bool decreaseFontSize(int pane);

    // The clipboard text of a pane: every pair of line breaks (CR LF CR LF) becomes one CR LF.
    static QString copyText(const QString& documentText);
    // The word-meaning tip of a pane's status text: the text without "about:", or nothing (tip hidden)
    // when that is empty or "Done".
    static std::optional<QString> toolTipText(const QString& statusText);
    // A target containing "click" recites the current verse, one containing "right" the next verse.
    static PlayRequest playRequest(const QString& navigationTarget);

signals:
    // Emitted for each pane at every shown slot.
    void wordByWordHintChanged(int pane, bool visible);

private:
    bool validPane(int pane) const { return pane >= 1 && pane <= kPaneCount; }
    // The first hidden word of a pane under m_hidden, -1 for none.
    int firstHiddenWord(const DisplayProperties& properties) const;
    // Failures are appended, each with a description of its own.
    void loadPaneTexts(int pane, std::vector<Error>& failures);
    void loadWordByWord(const DisplayProperties& properties, std::vector<Error>& failures);

    QString m_appFolder;
    std::array<std::unique_ptr<DisplayProperties>, kPaneCount> m_panes;
    std::array<bool, kPaneCount> m_hintVisible{};
    std::array<QStringList, kPaneCount> m_paneTexts;
    QStringList m_wordByWordLines;
    int m_sura = 0;
    int m_slotCount = 0;
    int m_shownSlot = -1;
    HiddenPanes m_hidden;
};

}  // namespace lumora
