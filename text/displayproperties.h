#pragma once
// The display properties of one text pane: the pane's text package (its configuration and opening
// formulas), its colours and font, the verse text it shows and that verse's word-by-word line. Setting
// the text or a colour builds the pane's whole HTML page at once and writes it into the pane's view;
// font, direction and word-by-word changes show with the next build.
//
// After a build with word-by-word data the display text is kept in its linked form, so a later build
// (a colour change) keeps the links, and their colour, of the earlier one.

#include <QList>
#include <QString>
#include <cstdint>

#include "codec/result.h"
#include "text/packageconfig.h"

namespace lumora {

class PageView;

class DisplayProperties {
public:
    // The source of the errors that setTransName reports in its own message form.
    static constexpr const char* kTransNameSource = "TransName";
    // The items of the opening formula's word-by-word line.
    static const QString kOpeningFormulaWordByWord;

    // appFolder: the program folder without a trailing '/'; packages lie in appFolder/data/tdata.
    explicit DisplayProperties(QString appFolder);
    DisplayProperties(const DisplayProperties&) = delete;
    DisplayProperties& operator=(const DisplayProperties&) = delete;

    // The view the pages are written into; none until the window sets it (pages are then built only).
    void setPageView(PageView* view) { m_view = view; }
    PageView* pageView() const { return m_view; }

    // Colours are numbers red + 256 * green + 65536 * blue. Setting one rebuilds the page.
    uint32_t backColour() const { return m_backColour; }
    void setBackColour(uint32_t colour);
    uint32_t foreColour() const { return m_foreColour; }
    void setForeColour(uint32_t colour);
    QString backColourHtml() const { return m_backColourHtml; }
    QString foreColourHtml() const { return m_foreColourHtml; }

    // Pixels; shows with the next build.
    double fontSize() const { return m_fontSize; }
    void setFontSize(double sizePx) { m_fontSize = sizePx; }
    QString fontFace() const { return m_package.fontFace; }
    void setFontFace(const QString& face) { m_package.fontFace = face; }
    bool rightToLeft() const { return m_package.rightToLeft; }
    void setRightToLeft(bool rightToLeft) { m_package.rightToLeft = rightToLeft; }
    QString additionalStyles() const { return m_package.additionalStyles; }
    void setAdditionalStyles(const QString& styles) { m_package.additionalStyles = styles; }

    QString buttonCaption() const { return m_package.buttonCaption; }
    QString windowCaption() const { return m_package.windowCaption; }
    bool moreInfoAvailable() const { return m_package.moreInfoAvailable; }
    bool fontUsePercentage() const { return m_package.fontUsePercentage; }
    bool isUnicode() const { return m_package.isUnicode; }
    QString wordByWordDataFile() const { return m_package.wordByWordDataFile; }
    QString infoText() const { return m_package.infoText; }
    QString bismiText() const { return m_bismiText; }
    QString bismiForSura1() const { return m_bismiForSura1; }

    // Setting stores the text and rebuilds the page; reading gives the text as last built (linked).
    QString displayText() const { return m_displayText; }
    void setDisplayText(const QString& text);
    // Stored only; the next build uses it.
    QString wordByWordText() const { return m_wordByWordText; }
    void setWordByWordText(const QString& text) { m_wordByWordText = text; }

    // Recall mode: the words from this one on (0: all) are drawn as blanks of their own width; -1 shows
    // every word. Stored only; the next build uses it.
    int hiddenFrom() const { return m_hiddenFrom; }
    void setHiddenFrom(int firstHiddenWord) { m_hiddenFrom = firstHiddenWord < 0 ? -1 : firstHiddenWord; }

    QString transName() const { return m_transName; }
    // Selects the package of that name and loads its configuration and opening formulas; the page is
    // not rebuilt. The same name again does nothing. A name without a package file is stored and
    // nothing else changes. On failure what was read before the failing key stays applied; the error is
    // shown with failureMessage.
    Result<void> setTransName(const QString& name);
    // Reloads both opening formulas from the current package.
    Result<void> loadBismi();
    // appFolder/data/tdata/<transName>.dat, or the user's added package of that name
    QString packagePath() const;
    QString appFolder() const { return m_appFolder; }

    // Builds the page and writes it into the view: clear, write, close.
    void setWB();
    // Turns the display text into word links from the word-by-word text (left alone when already linked).
    void insertWordByWord();
    // Half the mean of the background and text colours, as six hexadecimal digits.
    QString scrollBarColor() const;
    // The package information page.
    QString additionalInfo() const;

    // Component 1 red, 2 green, 3 blue; -1 for another component or a colour above 0xFFFFFF.
    static int getRGB(uint32_t colour, int component);
    // Six upper-case hexadecimal digits, red first. Only the low three bytes of the colour count.
    static QString vbToHtmlColor(uint32_t colour);

    // The word-by-word text without U+FEFF and CR LF pairs, double quotes turned into apostrophes.
    static QString cleanWordByWord(const QString& wordByWordText);
    // Display text turned into word links by a cleaned word-by-word line: each item "n<U+2022>meaning|"
    // links the next n + 1 words to the meaning; groups stop at the last word and words no item covers
    // follow unlinked. Every word is followed by one blank.
    static QString linkWords(const QString& displayText, const QString& cleanedWordByWord,
                             const QString& foreColourHtml);
    // The same groups as linkWords makes, as plain text: the words of each group and their meaning.
    struct WordMeaning {
        QString words;
        QString meaning;
    };
    static QList<WordMeaning> wordMeanings(const QString& displayText, const QString& cleanedWordByWord);

    // The text shown for a setTransName or loadBismi failure.
    static QString failureMessage(const Error& error);

private:
    QString buildPage();

    QString m_appFolder;
    PageView* m_view = nullptr;
    double m_fontSize = 2;
    uint32_t m_backColour = 0;
    uint32_t m_foreColour = 0;
    QString m_backColourHtml;
    QString m_foreColourHtml;
    PackageSettings m_package;
    QString m_bismiText;
    QString m_bismiForSura1;
    QString m_transName;
    QString m_displayText;
    QString m_wordByWordText;
    int m_hiddenFrom = -1;
};

}  // namespace lumora
