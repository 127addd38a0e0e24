#include "search/indexloader.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace lumora {

IndexLoader::IndexLoader(QString appFolder, QObject* parent) : QObject(parent), m_appFolder(std::move(appFolder)) {}

IndexLoader::~IndexLoader() {
    m_cancel = true;
    joinThread();
}

void IndexLoader::joinThread() {
    if (m_thread.joinable()) m_thread.join();
}

bool IndexLoader::ensure() {
    if (building()) return false;
    if (m_index && m_index->builtSignature() == VerseIndex::signature(m_appFolder)) return true;
    joinThread();
    m_cancel = false;
    m_delivered = false;
    auto result = std::make_shared<Result<VerseIndex>>(Error{});
    m_pending = result;
    m_thread = std::thread([this, result, folder = m_appFolder] {
        int lastPercent = -1;
        VerseIndex::BuildControl control;
        control.cancel = &m_cancel;
        control.progress = [this, &lastPercent](int done, int total) {
            const int percent = total > 0 ? done * 100 / total : 100;
            if (percent == lastPercent) return;
            lastPercent = percent;
            QMetaObject::invokeMethod(this, [this, done, total] { emit progress(done, total); }, Qt::QueuedConnection);
        };
        *result = VerseIndex::build(folder, control);
        QMetaObject::invokeMethod(this, [this, result] { deliver(result); }, Qt::QueuedConnection);
    });
    return false;
}

void IndexLoader::cancel() { m_cancel = true; }

void IndexLoader::waitUntilBuilt() {
    joinThread();
    if (!m_delivered && m_pending) deliver(m_pending);
    // The queued progress reports and the queued delivery (now a no-op) are handed out too.
    QCoreApplication::sendPostedEvents(this);
}

void IndexLoader::deliver(std::shared_ptr<Result<VerseIndex>> result) {
    // The same result arrives twice when waitUntilBuilt delivered it before its queued call ran.
    if (m_delivered || result != m_pending) return;
    m_delivered = true;
    m_pending.reset();
    if (result->ok()) {
        m_index = std::make_unique<VerseIndex>(std::move(result->value()));
        emit ready();
    } else {
        const Error& error = result->error();
        emit failed(QString::fromStdString(error.description), error.number == VerseIndex::kCancelled);
    }
}

}  // namespace lumora
