#pragma once
// Test fixtures for the text folder: a throw-away program folder into which tests write real package
// archives, and a page view that records what a pane writes.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "text/pageview.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace lumora::test {

using Bytes = std::vector<uint8_t>;
using Entries = std::vector<std::pair<std::string, Bytes>>;

Bytes utf16Le(const QString& text);
Bytes latin1(const QByteArray& text);
// Lines joined with LF, each verse "v<n> <prefix>".
QString numberedLines(const QString& prefix, int count);

class ProgramFolder {
public:
    ProgramFolder();
    QString path() const { return m_dir.path(); }
    // data/tdata/<name>.dat with the entries Huffman-encoded.
    void writePackage(const QString& name, const Entries& entries) const;
    // data/<relativePath>, entries Huffman-encoded.
    void writeArchive(const QString& relativePath, const Entries& entries) const;

private:
    QTemporaryDir m_dir;
};

class RecordingView : public PageView {
public:
    void clear() override { m_calls.append(QStringLiteral("clear")); }
    void write(const QString& html) override {
        m_calls.append(QStringLiteral("write"));
        m_page = html;
    }
    void close() override { m_calls.append(QStringLiteral("close")); }

    QString page() const { return m_page; }
    QStringList calls() const { return m_calls; }
    int writes() const { return static_cast<int>(m_calls.count(QStringLiteral("write"))); }

private:
    QString m_page;
    QStringList m_calls;
};

}  // namespace lumora::test
