#pragma once
// Keeps the verse index of a program folder for the window: builds it on a thread of its own the first time
// it is wanted (with progress and cancel), keeps it while the installed packages stay as they were, and
// builds it again when they change. Lives on the window's thread; its signals arrive there.

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>

#include "search/verseindex.h"

namespace lumora {

class IndexLoader : public QObject {
    Q_OBJECT
public:
    explicit IndexLoader(QString appFolder, QObject* parent = nullptr);
    // Cancels a running build and waits for its thread.
    ~IndexLoader() override;

    // The index when one is built, else nullptr; stays valid until the next build finishes.
    const VerseIndex* index() const { return m_index.get(); }
    bool building() const { return m_thread.joinable() && !m_delivered; }

    // True when the index is built and the packages have not changed since; otherwise starts a build
    // (unless one runs) and returns false: ready() or failed() follows.
    bool ensure();
    // Stops a running build; failed() follows with the cancelled error.
    void cancel();
    // Waits for a running build's thread and delivers its result at once (for tests and benchmarks,
    // which have no event loop turning).
    void waitUntilBuilt();

signals:
    // Suras read so far and in all, at most once per percent.
    void progress(int done, int total);
    void ready();
    void failed(const QString& message, bool cancelled);

private:
    void deliver(std::shared_ptr<Result<VerseIndex>> result);
    void joinThread();

    QString m_appFolder;
    std::unique_ptr<VerseIndex> m_index;
    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    std::shared_ptr<Result<VerseIndex>> m_pending;
    bool m_delivered = true;
};

}  // namespace lumora
