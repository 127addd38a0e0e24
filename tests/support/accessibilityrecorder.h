#pragma once
// Catches the accessibility events the program sends while it lives, as a screen reader would receive
// them, and switches accessibility on (as a running screen reader does) so Qt's own widgets send theirs.

#include <QAccessible>
#include <QAccessibleEvent>
#include <QPointer>
#include <QString>
#include <vector>

namespace lumora::test {

class AccessibilityRecorder {
public:
    struct Record {
        QAccessible::Event type;
        QPointer<QObject> object;
        // The object's name when the event came (NameChanged), the new text (TextUpdated, TextInserted)
        // or the new value (ValueChanged).
        QString text;
    };

    AccessibilityRecorder() {
        current() = this;
        m_previous = QAccessible::installUpdateHandler(&AccessibilityRecorder::receive);
        QAccessible::setActive(true);
    }
    ~AccessibilityRecorder() {
        QAccessible::installUpdateHandler(m_previous);
        current() = nullptr;
    }
    AccessibilityRecorder(const AccessibilityRecorder&) = delete;
    AccessibilityRecorder& operator=(const AccessibilityRecorder&) = delete;

    const std::vector<Record>& records() const { return m_records; }
    void clear() { m_records.clear(); }
    int count(const QObject* object, QAccessible::Event type) const {
        int found = 0;
        for (const Record& record : m_records) found += record.object == object && record.type == type ? 1 : 0;
        return found;
    }
    // The text of the last event of that type from that object; empty when there was none.
    QString lastText(const QObject* object, QAccessible::Event type) const {
        for (auto it = m_records.rbegin(); it != m_records.rend(); ++it) {
            if (it->object == object && it->type == type) return it->text;
        }
        return {};
    }

private:
    static AccessibilityRecorder*& current() {
        static AccessibilityRecorder* recorder = nullptr;
        return recorder;
    }

    static void receive(QAccessibleEvent* event) {
        AccessibilityRecorder* recorder = current();
        if (recorder == nullptr) return;
        Record record{event->type(), event->object(), {}};
        switch (event->type()) {
        case QAccessible::NameChanged:
            if (QAccessibleInterface* iface = event->accessibleInterface())
                record.text = iface->text(QAccessible::Name);
            break;
        case QAccessible::TextUpdated:
            record.text = static_cast<QAccessibleTextUpdateEvent*>(event)->textInserted();
            break;
        case QAccessible::TextInserted:
            record.text = static_cast<QAccessibleTextInsertEvent*>(event)->textInserted();
            break;
        case QAccessible::ValueChanged:
            record.text = static_cast<QAccessibleValueChangeEvent*>(event)->value().toString();
            break;
        default: break;
        }
        recorder->m_records.push_back(record);
    }

    QAccessible::UpdateHandler m_previous = nullptr;
    std::vector<Record> m_records;
};

}  // namespace lumora::test
