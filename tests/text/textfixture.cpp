#include "textfixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "codec/archivewriter.h"

namespace lumora::test {

Bytes utf16Le(const QString& text) {
    Bytes bytes;
    for (QChar c : text) {
        bytes.push_back(static_cast<uint8_t>(c.unicode() & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c.unicode() >> 8));
    }
    return bytes;
}

Bytes latin1(const QByteArray& text) { return Bytes(text.begin(), text.end()); }

QString numberedLines(const QString& prefix, int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i) lines.append(QStringLiteral("v%1 %2").arg(i).arg(prefix));
    return lines.join(u'\n');
}

ProgramFolder::ProgramFolder() { QDir(m_dir.path()).mkpath(QStringLiteral("data/tdata")); }

void ProgramFolder::writePackage(const QString& name, const Entries& entries) const {
    writeArchive(QStringLiteral("tdata/") + name + QStringLiteral(".dat"), entries);
}

void ProgramFolder::writeArchive(const QString& relativePath, const Entries& entries) const {
    ArchiveWriter writer;
    for (const auto& [name, bytes] : entries) writer.addEntry(name, bytes, false);
    const QString path = m_dir.path() + QStringLiteral("/data/") + relativePath;
    const Result<void> written = writer.write(QFile::encodeName(path).toStdString());
    ASSERT_TRUE(written.ok()) << written.error().description;
}

}  // namespace lumora::test
