#pragma once
// An INI document: sections of key=value lines. Sections and keys are found without regard to letter
// case; values are kept as the exact text after the first "=" (blanks, "=", "#", ";" and "|" included).
// Reading never fails: lines that are neither a section header, a key=value pair, a comment nor blank are
// skipped, so a damaged or hand-edited file never stops the program. Used read-only for config.ini and text
// package configurations, and as the file format of the settings store.
//
// A line cannot hold a line break, so toText writes values with three escapes: a backslash as "\\", a line
// feed as "\n" and a carriage return as "\r". Documents that Lumora writes (the settings store) are read
// with decodeEscapes, which turns exactly these three pairs back and keeps any other backslash as it
// stands, so a hand-written "/music\" or "C:\mp3\" still reads as written. Files that Lumora only reads
// (config.ini, text package configurations) are read without it: every value exactly as it stands.
//
// Other file details: a UTF-8 byte order mark is skipped; lines end with LF or CR LF; comment lines start
// with ";" or "#" (after blanks) and are not kept when the document is written back; a key=value line
// before the first header, or after a header that cannot be read, belongs to no section and is skipped;
// a section that appears twice is read as one (its later keys appended); of two equal keys the first counts.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace lumora {

class IniFile {
public:
    static IniFile parse(const QString& text, bool decodeEscapes = false);
    // An absent or unreadable file gives an empty document. UTF-8 text.
    static IniFile load(const QString& path, bool decodeEscapes = false);

    // The value of key in section, or nullopt when the section or key is absent. A key present with an
    // empty value gives an empty text.
    std::optional<QString> value(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key, const QString& defaultValue) const;

    bool hasSection(const QString& section) const;
    // The section's entries as "key=value" texts, in file order; empty when the section is absent.
    QStringList sectionEntries(const QString& section) const;
    QStringList sectionNames() const;

    // Replaces the value of an existing key (keeping its spelling and place) or appends the key,
    // creating the section at the end when needed. The names must satisfy isValidSectionName and
    // isValidKey (callers check; an invalid name would not read back).
    void setValue(const QString& section, const QString& key, const QString& value);
    // False when the section does not exist.
    bool removeSection(const QString& section);
    bool isEmpty() const { return m_sections.empty(); }

    // The document as text, "[Section]" headers and "key=value" lines, LF line ends.
    QString toText() const;

    // Names that can be written and read back: not empty, no line break, no surrounding blanks; a section
    // name holds no "]"; a key holds no "=" and does not start with "[", ";" or "#".
    static bool isValidSectionName(const QString& name);
    static bool isValidKey(const QString& key);

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
    };
    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;

    std::vector<Section> m_sections;
};

}  // namespace lumora
