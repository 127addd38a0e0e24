#include "recitation/suralist.h"

#include <QFileInfo>

#include "codec/suracatalogue.h"

namespace lumora {

const QString SuraList::kAudioMissingSuffix = QStringLiteral(" (audio missing)");

SuraList::SuraList(QObject* parent) : QAbstractListModel(parent) {
    m_texts.reserve(SuraCatalogue::kSuraCount);
    for (int sura = 1; sura <= SuraCatalogue::kSuraCount; ++sura)
        m_texts.append(QString::fromStdString(SuraCatalogue::listText(sura)));
    for (int i = 0; i < m_texts.size(); ++i) m_marks.append(QString());
}

int SuraList::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count(); }

QVariant SuraList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count()) return {};
    if (role == Qt::DisplayRole) return m_texts.at(index.row());
    if (role == kSuraNumberRole) return itemData(index.row());
    return {};
}

QString SuraList::itemText(int index) const {
    return index >= 0 && index < count() ? m_texts.at(index) : QString();
}

// Items are in sura order, so the item data is the index plus one.
int SuraList::itemData(int index) const { return index >= 0 && index < count() ? index + 1 : 0; }

Result<void> SuraList::setCurrentIndex(int index) {
    if (index < -1 || index >= count())
        return Error{kInvalidPropertyValue, "SuraList", "Invalid property value"};
    if (index == m_currentIndex) return {};
    m_currentIndex = index;
    emit currentIndexChanged(index);
    return {};
}

bool SuraList::audioMissing(int index) const {
    return itemText(index).contains(QStringLiteral("audio missing"));
}

void SuraList::checkMp3(const QString& mp3Folder) {
    setMarks([&mp3Folder](int sura) {
        const QString path =
            mp3Folder + QString::fromStdString(SuraCatalogue::threeDigit(sura)) + QStringLiteral(".mp3");
        // A folder of that name is no recording.
        return QFileInfo(path).isFile() ? QString() : kAudioMissingSuffix;
    });
}

void SuraList::setMarks(const std::function<QString(int sura)>& markOf) {
    for (int i = 0; i < count(); ++i) {
        QString text = m_texts.at(i);
        if (!m_marks.at(i).isEmpty() && text.endsWith(m_marks.at(i))) text.chop(m_marks.at(i).size());
        text.remove(kAudioMissingSuffix);
        m_marks[i] = markOf(itemData(i));
        text += m_marks.at(i);
        if (text != m_texts.at(i)) {
            m_texts[i] = text;
            const QModelIndex changed = this->index(i);
            emit dataChanged(changed, changed, {Qt::DisplayRole});
        }
    }
}

}  // namespace lumora
