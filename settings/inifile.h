#pragma once
// An INI document: sections of key=value lines. Sections and keys are found without regard to letter
// case; values are kept as the exact text after the first "=". Reading never fails: lines that are
// neither a section header, a key=value pair, a comment nor blank are skipped, so a damaged or hand-edited
// file never stops the program. Used read-only for config.ini and text package configurations, and as
// the file format of the settings store.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace lumora {

class IniFile {
public:
    static IniFile parse(const QString& text);
    // An absent or unreadable file gives an empty document. UTF-8 text.
    static IniFile load(const QString& path);

    // The value of key in section, or nullopt when the section or key is absent. A key present with an
    // empty value gives an empty text.
    std::optional<QString> value(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key, const QString& defaultValue) const;

    bool hasSection(const QString& section) const;
    // The section's entries as "key=value" texts, in file order; empty when the section is absent.
    QStringList sectionEntries(const QString& section) const;
    QStringList sectionNames() const;

    // Replaces the value of an existing key (keeping its spelling and place) or appends the key,
    // creating the section at the end when needed.
    void setValue(const QString& section, const QString& key, const QString& value);
    // False when the section does not exist.
    bool removeSection(const QString& section);
    bool isEmpty() const { return m_sections.empty(); }

    // The document as text, "[Section]" headers and "key=value" lines, LF line ends.
    QString toText() const;

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
