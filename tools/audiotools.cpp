#include "tools/audiotools.h"

#include <QProcess>
#include <QtEndian>

namespace lumora::pack {

namespace {

Error toolError(const QString& what) {
    return Error{0, "AudioTools", what.toStdString()};
}

// Runs program with args to its end; its standard output, or an error naming the program and its
// complaint. No time limit: both programs end on their own.
Result<QByteArray> run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args, QIODevice::ReadOnly);
    if (!process.waitForStarted(-1)) {
        return toolError(QStringLiteral("cannot start %1 (%2)").arg(program, process.errorString()));
    }
    process.closeWriteChannel();
    // QProcess keeps reading both channels into its buffers while it waits, so neither pipe fills up.
    process.waitForFinished(-1);
    const QByteArray output = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString complaint = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return toolError(QStringLiteral("%1 %2 failed (exit code %3): %4")
                             .arg(program, args.join(QChar(u' ')))
                             .arg(process.exitCode())
                             .arg(complaint));
    }
    return output;
}

Result<QString> firstLine(const QString& program, const QStringList& args) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args, QIODevice::ReadOnly);
    if (!process.waitForStarted(-1) || !process.waitForFinished(-1)) {
        return toolError(QStringLiteral("cannot run %1 (%2)").arg(program, process.errorString()));
    }
    const QString text = QString::fromLocal8Bit(process.readAll());
    for (const QString& line : text.split(QChar(u'\n'))) {
        if (!line.trimmed().isEmpty()) {
            return line.trimmed();
        }
    }
    return toolError(QStringLiteral("%1 printed no version").arg(program));
}

}  // namespace

AudioTools::AudioTools(QString lamePath, QString mpg123Path)
    : m_lamePath(std::move(lamePath)), m_mpg123Path(std::move(mpg123Path)) {}

Result<void> AudioTools::encodeMp3(const QString& wavPath, const QString& mp3Path) const {
    const Result<QByteArray> output =
        run(m_lamePath, {QStringLiteral("--quiet"), QStringLiteral("--cbr"), QStringLiteral("-b"),
                         QStringLiteral("56"), QStringLiteral("--resample"), QStringLiteral("22.05"),
                         QStringLiteral("-m"), QStringLiteral("m"), wavPath, mp3Path});
    if (!output) {
        return output.error();
    }
    return {};
}

Result<std::vector<int16_t>> AudioTools::decodeMp3(const QString& mp3Path) const {
    const Result<QByteArray> output =
        run(m_mpg123Path,
            {QStringLiteral("--quiet"), QStringLiteral("--gapless"),
             QStringLiteral("--encoding"), QStringLiteral("s16"), QStringLiteral("--stdout"), mp3Path});
    if (!output) {
        return output.error();
    }
    const QByteArray& raw = output.value();
    // mpg123 writes samples in the host's byte order.
    std::vector<int16_t> samples(static_cast<size_t>(raw.size()) / 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = qFromUnaligned<int16_t>(raw.constData() + 2 * i);
    }
    return samples;
}

Result<QString> AudioTools::lameVersion() const {
    return firstLine(m_lamePath, {QStringLiteral("--version")});
}

Result<QString> AudioTools::mpg123Version() const {
    return firstLine(m_mpg123Path, {QStringLiteral("--version")});
}

}  // namespace lumora::pack
