#include "text/displayproperties.h"

#include <QFileInfo>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <vector>

#include "codec/archivereader.h"
#include "settings/settingtext.h"
#include "text/hiddenwords.h"
#include "text/installedtexts.h"
#include "text/packagetext.h"
#include "text/pageview.h"

namespace lumora {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QChar kBullet(0x2022);
const QChar kByteOrderMark(0xFEFF);

const QString kPageTemplate =
    QStringLiteral("<HTML Dir=\"##DIR##\"><HEAD>##style##</HEAD><BODY TOPMARGIN = 5 LEftMARGIN = 5 BOTTOMMARGIN = 5 "
                   "RIGHTMARGIN = 5 BGCOLOR = ##BackColor## SCROLL = \"auto\" ##SCRIPT##>##TEXT##") +
    kCrLf + QStringLiteral("</BODY></HTML>");

const QString kStyleBlock =
    QStringLiteral("<style type=\"text/css\"> body{border-width: 0px; ##scrollstyle##; ##fontstyle##} "
                   "##AdditionalStyles## ") +
    QStringLiteral(" a:link {color:#000000;} a:visited {color:#000000;} a:hover "
                   "{color:#000000;background-color:#C0EEC0;}   a:active {color:#000000;}") +
    QStringLiteral(" </STYLE>");

const QString kBodyEvents = QStringLiteral(
    "onclick=\"javascript:document.location.href ='click';\" "
    "onContextMenu=\"javascript:document.location.href ='right';\"");

const QString kInfoPageTemplate = QStringLiteral(
    "<html><head> <meta content=\"text/html; charset=ISO-8859-1\" http-equiv=\"content-type\"> <title>Keyboard "
    "shortvuts</title><style type=\"text/css\">body{font-family:Arial;font-size:90%;Background:#E3EEE3;"
    "scrollbar-face-color: #E3EEE3;scrollbar-arrow-color: #000000;scrollbar-highlight-color: "
    "#000000;scrollbar-3dlight-color: #E3EEE3;scrollbar-shadow-color: #000000;scrollbar-darkshadow-color: "
    "#C6FFFF;scrollbar-track-color: #E3EEE3;}</STYLE></head><body SCROLL = \"auto\" onContextMenu=\"return "
    "false;\"><span style=\"font-weight: bold; text-decoration: underline;\">##Heading## </span><br><table "
    "style=\"text-align: left; width: 100%;\" border=\"1\"  style=\"border-collapse: collapse\" cellpadding=\"2\" "
    "cellspacing=\"2\" bordercolor=\"#111111\" ><tbody>##rows##</tbody></table><br></body></html>");

// A linked display text is recognised by the style attribute of its links.
const QString kLinkMarker = QStringLiteral("style=\"");

// The leading whole number of an item's count, as a number-reading of text does: blanks, a sign, digits;
// anything else ends it, and no digits at all read as 0. Saturates instead of overflowing.
int64_t leadingCount(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{1} << 40;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80; ++i) {
        value = std::min(kLimit, value * 10 + (text[i].unicode() - u'0'));
    }
    return negative ? -value : value;
}

QString trimmedBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ') ++first;
    while (last > first && text[last - 1] == u' ') --last;
    return text.mid(first, last - first);
}

Result<ExtractedEntry> extract(const QString& archivePath, const QString& name) {
    return ArchiveReader::extractFile(QFile::encodeName(archivePath).toStdString(), name.toStdString());
}

}  // namespace

const QString DisplayProperties::kOpeningFormulaWordByWord =
    QStringLiteral("0") + kBullet + QStringLiteral("In (the) name|0") + kBullet + QStringLiteral("(of) Allah,|0") +
    kBullet + QStringLiteral("the Most Gracious,|0") + kBullet + QStringLiteral("the Most Merciful.|");

DisplayProperties::DisplayProperties(QString appFolder) : m_appFolder(std::move(appFolder)) {}

void DisplayProperties::setBackColour(uint32_t colour) {
    m_backColour = colour;
    m_backColourHtml = vbToHtmlColor(colour);
    setWB();
}

void DisplayProperties::setForeColour(uint32_t colour) {
    m_foreColour = colour;
    m_foreColourHtml = vbToHtmlColor(colour);
    setWB();
}

void DisplayProperties::setDisplayText(const QString& text) {
    m_displayText = text;
    setWB();
}

QString DisplayProperties::packagePath() const {
    return InstalledTexts::packagePath(m_appFolder, m_transName);
}

Result<void> DisplayProperties::setTransName(const QString& name) {
    if (name == m_transName) return {};
    m_transName = name;
    const QString archive = packagePath();
    if (!QFileInfo(archive).isFile()) return {};

    Result<ExtractedEntry> config = extract(archive, QStringLiteral("config.ini"));
    if (!config) return config.error();
    if (config.value().found) {
        const Result<void> read = PackageConfig::parse(config.value().bytes).readInto(m_package, name);
        if (!read) {
            Error error = read.error();
            error.source = kTransNameSource;
            error.step = 3;
            return error;
        }
    } else {
        // Everything of the previous package goes, so neither its word-by-word data nor its information
        // page is shown with this one.
        m_package = PackageSettings{};
        m_package.buttonCaption = name;
        m_package.windowCaption = name;
    }
    return loadBismi();
}

Result<void> DisplayProperties::loadBismi() {
    const QString archive = packagePath();
    Result<ExtractedEntry> bismi = extract(archive, QStringLiteral("bismi.txt"));
    if (!bismi) return bismi.error();
    // A package without the formula has none: the previous package's formula is not shown with this one.
    m_bismiText.clear();
    if (bismi.value().found) {
        m_bismiText = PackageText::decode(bismi.value().bytes, m_package.isUnicode);
        // An ANSI package marks "no opening formula" with a text starting "NA".
        if (!m_package.isUnicode && m_bismiText.startsWith(QStringLiteral("NA"))) m_bismiText.clear();
    }
    Result<ExtractedEntry> bismi1 = extract(archive, QStringLiteral("bismi1.txt"));
    if (!bismi1) return bismi1.error();
    m_bismiForSura1 =
        bismi1.value().found ? PackageText::decode(bismi1.value().bytes, m_package.isUnicode) : m_bismiText;
    return {};
}

QString DisplayProperties::buildPage() {
    const QString scroll = scrollBarColor();
    const QString& back = m_backColourHtml;
    QString page = kPageTemplate;
    const QString scrollStyle = QStringLiteral("scrollbar-face-color: #") + back + u';' + kCrLf +
                                QStringLiteral("scrollbar-arrow-color: #") + scroll + u';' + kCrLf +
                                QStringLiteral("scrollbar-highlight-color: #") + scroll + u';' + kCrLf +
                                QStringLiteral("scrollbar-3dlight-color: #") + back + u';' + kCrLf +
                                QStringLiteral("scrollbar-shadow-color: #") + scroll + u';' + kCrLf +
                                QStringLiteral("scrollbar-darkshadow-color: #") + back + u';' + kCrLf +
                                QStringLiteral("scrollbar-track-color: #") + back + QStringLiteral("; ");
    QString fontStyle = QStringLiteral("font-size: ") + QString::number(m_fontSize, 'g', 15) +
                        QStringLiteral("px;color:#") + m_foreColourHtml + u';';
    if (!m_package.fontFace.isEmpty()) {
        fontStyle += QStringLiteral("font-family:\"") + m_package.fontFace + QStringLiteral("\";");
    }
    // Each placeholder is replaced over the whole page in turn, so one written inside a replacement is
    // replaced only by the steps after it.
    page.replace(QStringLiteral("##style##"), kStyleBlock);
    page.replace(QStringLiteral("##scrollstyle##"), scrollStyle);
    page.replace(QStringLiteral("##fontstyle##"), fontStyle);
    page.replace(QStringLiteral("##BackColor##"), m_backColourHtml);
    page.replace(QStringLiteral("##ForeColor##"), m_foreColourHtml);
    page.replace(QStringLiteral("##SCRIPT##"), kBodyEvents);
    page.replace(QStringLiteral("##AdditionalStyles##"), m_package.additionalStyles);
    page.replace(QStringLiteral("##DIR##"), m_package.rightToLeft ? QStringLiteral("RTL") : QStringLiteral("LTR"));
    if (!trimmedBlanks(m_wordByWordText).isEmpty()) insertWordByWord();
    const QString boxColour = vbToHtmlColor(HiddenWords::boxColour(m_backColour & 0xFFFFFF, m_foreColour & 0xFFFFFF));
    page.replace(QStringLiteral("##TEXT##"), HiddenWords::blank(m_displayText, m_hiddenFrom, boxColour));
    return page;
}

void DisplayProperties::setWB() {
    const QString page = buildPage();
    if (m_view == nullptr) return;
    m_view->clear();
    m_view->write(page);
    m_view->close();
}

void DisplayProperties::insertWordByWord() {
    if (m_displayText.contains(kLinkMarker)) return;
    m_wordByWordText = cleanWordByWord(m_wordByWordText);
    m_displayText = linkWords(m_displayText, m_wordByWordText, m_foreColourHtml);
}

QString DisplayProperties::cleanWordByWord(const QString& wordByWordText) {
    QString cleaned = wordByWordText;
    cleaned.remove(kByteOrderMark);
    cleaned.remove(kCrLf);
    cleaned.replace(u'"', u'\'');
    return cleaned;
}

namespace {

// The verse split into its words; an empty verse has no words at all (not one empty word).
QStringList verseWords(const QString& displayText) {
    QString verse = displayText;
    verse.remove(kByteOrderMark);
    verse = trimmedBlanks(verse);
    return verse.isEmpty() ? QStringList() : verse.split(u' ');
}

// Words first..end - 1 of the verse share one meaning.
struct WordGroup {
    qsizetype first = 0;
    qsizetype end = 0;
    QString meaning;
};

// The groups a cleaned word-by-word line makes over a verse of wordCount words.
std::vector<WordGroup> wordGroups(qsizetype wordCount, const QString& cleanedWordByWord) {
    std::vector<WordGroup> groups;
    qsizetype next = 0;
    for (const QString& item : cleanedWordByWord.split(u'|')) {
        const qsizetype bullet = item.indexOf(kBullet);
        if (bullet < 0) continue;
        // A negative count still covers one word; a group never runs past the last word.
        const int64_t covered = std::max<int64_t>(leadingCount(item.left(bullet)), 0) + 1;
        const qsizetype end = static_cast<qsizetype>(std::min<int64_t>(next + covered, wordCount));
        if (end <= next) continue;
        groups.push_back(WordGroup{next, end, item.mid(bullet + 1)});
        next = end;
    }
    return groups;
}

}  // namespace

QString DisplayProperties::linkWords(const QString& displayText, const QString& cleanedWordByWord,
                                     const QString& foreColourHtml) {
    const QStringList words = verseWords(displayText);
    QString output;
    qsizetype next = 0;
    for (const WordGroup& group : wordGroups(words.size(), cleanedWordByWord)) {
        output += QStringLiteral("<A style=\"text-decoration:none; color:#") + foreColourHtml +
                  QStringLiteral(";\" href=\"") + group.meaning + QStringLiteral("\">");
        for (next = group.first; next < group.end; ++next) output += words[next] + u' ';
        output += QStringLiteral("</A> ");
    }
    for (; next < words.size(); ++next) output += words[next] + u' ';
    return output;
}

QList<DisplayProperties::WordMeaning> DisplayProperties::wordMeanings(const QString& displayText,
                                                                      const QString& cleanedWordByWord) {
    const QStringList words = verseWords(displayText);
    QList<WordMeaning> meanings;
    for (const WordGroup& group : wordGroups(words.size(), cleanedWordByWord)) {
        meanings.append(WordMeaning{words.mid(group.first, group.end - group.first).join(u' '), group.meaning});
    }
    return meanings;
}

QString DisplayProperties::scrollBarColor() const {
    uint32_t colour = 0;
    for (int component = 1; component <= 3; ++component) {
        const int back = getRGB(m_backColour & 0xFFFFFF, component);
        const int fore = getRGB(m_foreColour & 0xFFFFFF, component);
        const double mean = SettingText::roundHalfEven((back + fore) / 2.0);
        const auto half = static_cast<uint32_t>(SettingText::roundHalfEven(mean / 2.0));
        colour |= half << (8 * (component - 1));
    }
    return vbToHtmlColor(colour);
}

int DisplayProperties::getRGB(uint32_t colour, int component) {
    if (component < 1 || component > 3 || colour > 0xFFFFFF) return -1;
    return static_cast<int>((colour >> (8 * (component - 1))) & 0xFF);
}

QString DisplayProperties::vbToHtmlColor(uint32_t colour) {
    const uint32_t red = colour & 0xFF;
    const uint32_t green = (colour >> 8) & 0xFF;
    const uint32_t blue = (colour >> 16) & 0xFF;
    return QStringLiteral("%1").arg((red << 16) | (green << 8) | blue, 6, 16, QChar(u'0')).toUpper();
}

QString DisplayProperties::additionalInfo() const {
    QString rows;
    for (const QString& entry : m_package.infoText.split(QChar(u'\0'))) {
        if (trimmedBlanks(entry).isEmpty()) continue;
        // An entry without "=" is a key with an empty value.
        const qsizetype equals = entry.indexOf(u'=');
        const QString key = equals < 0 ? entry : entry.left(equals);
        const QString value = equals < 0 ? QString() : entry.mid(equals + 1);
        rows += QStringLiteral("<TR><TD width=\"50%\">") + key + QStringLiteral("</TD><TD width=\"50%\">") + value +
                QStringLiteral("</TD></TR>");
    }
    QString heading = m_package.windowCaption;
    heading.replace(QStringLiteral("  "), QStringLiteral("&nbsp;"));
    heading.remove(u' ');
    QString page = kInfoPageTemplate;
    page.replace(QStringLiteral("##rows##"), rows);
    page.replace(QStringLiteral("##Heading##"), heading);
    return page;
}

QString DisplayProperties::failureMessage(const Error& error) {
    if (error.source == kTransNameSource) {
        return QStringLiteral("Error %1 (%2) in procedure TransName of Class Module clsWBProperty %3")
            .arg(error.number)
            .arg(QString::fromStdString(error.description))
            .arg(error.step);
    }
    return QString::fromStdString(ArchiveReader::failureMessage(error));
}

}  // namespace lumora
