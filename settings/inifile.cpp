#include "settings/inifile.h"

#include <QFile>

#include <algorithm>

namespace lumora {

namespace {

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString escapeValue(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        if (c == u'\\') {
            out += QLatin1String("\\\\");
        } else if (c == u'\n') {
            out += QLatin1String("\\n");
        } else if (c == u'\r') {
            out += QLatin1String("\\r");
        } else {
            out += c;
        }
    }
    return out;
}

QString unescapeValue(QStringView text)
{
    if (!text.contains(u'\\')) {
        return text.toString();
    }
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' && i + 1 < text.size()) {
            const QChar next = text[i + 1];
            if (next == u'\\' || next == u'n' || next == u'r') {
                out += next == u'\\' ? QChar(u'\\') : next == u'n' ? QChar(u'\n') : QChar(u'\r');
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

}  // namespace

IniFile IniFile::parse(const QString& text, bool decodeEscapes)
{
    IniFile doc;
    QStringView rest(text);
    if (rest.startsWith(QChar(0xFEFF))) {
        rest = rest.mid(1);
    }
    Section* current = nullptr;
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf(u'\n');
        QStringView line = end < 0 ? rest : rest.left(end);
        rest = end < 0 ? QStringView() : rest.mid(end + 1);
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'#')) {
            continue;
        }
        if (trimmed.startsWith(u'[')) {
            // A header that cannot be read leaves the lines under it without a section, so they are
            // skipped rather than added to the section before it.
            current = nullptr;
            const qsizetype close = trimmed.indexOf(u']');
            if (close < 0) {
                continue;
            }
            const QString name = trimmed.mid(1, close - 1).trimmed().toString();
            if (name.isEmpty()) {
                continue;
            }
            current = doc.findSection(name);
            if (current == nullptr) {
                doc.m_sections.push_back(Section{name, {}});
                current = &doc.m_sections.back();
            }
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (current == nullptr || equals < 0) {
            continue;
        }
        const QStringView key = line.left(equals).trimmed();
        if (key.isEmpty()) {
            continue;
        }
        const bool known = std::any_of(current->entries.begin(), current->entries.end(),
                                       [&](const Entry& e) { return sameName(e.key, key); });
        if (!known) {
            const QStringView value = line.mid(equals + 1);
            current->entries.push_back(Entry{key.toString(), decodeEscapes ? unescapeValue(value) : value.toString()});
        }
    }
    return doc;
}

IniFile IniFile::load(const QString& path, bool decodeEscapes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return IniFile();
    }
    return parse(QString::fromUtf8(file.readAll()), decodeEscapes);
}

IniFile::Section* IniFile::findSection(const QString& name)
{
    for (Section& section : m_sections) {
        if (sameName(section.name, name)) {
            return &section;
        }
    }
    return nullptr;
}

const IniFile::Section* IniFile::findSection(const QString& name) const
{
    return const_cast<IniFile*>(this)->findSection(name);
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const
{
    const Section* found = findSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    for (const Entry& entry : found->entries) {
        if (sameName(entry.key, key)) {
            return entry.value;
        }
    }
    return std::nullopt;
}

QString IniFile::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

bool IniFile::hasSection(const QString& section) const
{
    return findSection(section) != nullptr;
}

QStringList IniFile::sectionEntries(const QString& section) const
{
    QStringList list;
    if (const Section* found = findSection(section)) {
        for (const Entry& entry : found->entries) {
            list.append(entry.key + u'=' + entry.value);
        }
    }
    return list;
}

QStringList IniFile::sectionNames() const
{
    QStringList names;
    for (const Section& section : m_sections) {
        names.append(section.name);
    }
    return names;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    Section* found = findSection(section);
    if (found == nullptr) {
        m_sections.push_back(Section{section, {}});
        found = &m_sections.back();
    }
    for (Entry& entry : found->entries) {
        if (sameName(entry.key, key)) {
            entry.value = value;
            return;
        }
    }
    found->entries.push_back(Entry{key, value});
}

bool IniFile::removeSection(const QString& section)
{
    for (auto it = m_sections.begin(); it != m_sections.end(); ++it) {
        if (sameName(it->name, section)) {
            m_sections.erase(it);
            return true;
        }
    }
    return false;
}

QString IniFile::toText() const
{
    QString text;
    for (const Section& section : m_sections) {
        if (!text.isEmpty()) {
            text += u'\n';
        }
        text += u'[' + section.name + QLatin1String("]\n");
        for (const Entry& entry : section.entries) {
            text += entry.key + u'=' + escapeValue(entry.value) + u'\n';
        }
    }
    return text;
}

bool IniFile::isValidSectionName(const QString& name)
{
    return !name.isEmpty() && name.trimmed() == name && !name.contains(u']') && !name.contains(u'\n') &&
           !name.contains(u'\r');
}

bool IniFile::isValidKey(const QString& key)
{
    return !key.isEmpty() && key.trimmed() == key && !key.contains(u'=') && !key.contains(u'\n') &&
           !key.contains(u'\r') && !key.startsWith(u'[') && !key.startsWith(u';') && !key.startsWith(u'#');
}

}  // namespace lumora
