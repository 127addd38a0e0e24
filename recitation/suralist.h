#pragma once
// The sura selector's list: 114 items "1. AL-FATIHA" ... "114. AN-NAS" whose item data is the sura number,
// the selected index (-1 = none) and the marking of suras whose recording is missing. A list model, so the
// window's combo box can show it; selecting an index here is what loads a sura (the controller listens to
// currentIndexChanged).

#include <QAbstractListModel>
#include <QString>
#include <QStringList>
#include <functional>

#include "codec/result.h"

namespace lumora {

class SuraList : public QAbstractListModel {
    Q_OBJECT
public:
    // Item data: the sura number 1..114.
    static constexpr int kSuraNumberRole = Qt::UserRole;
    // The suffix of an item whose recording is missing.
    static const QString kAudioMissingSuffix;
    // The error a refused list index raises; the old selection stays.
    static constexpr int32_t kInvalidPropertyValue = 380;

    explicit SuraList(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    int count() const { return static_cast<int>(m_texts.size()); }
    // Empty and 0 outside the list.
    QString itemText(int index) const;
    int itemData(int index) const;
    using QAbstractListModel::itemData;

    int currentIndex() const { return m_currentIndex; }
    // The sura number of the selected item, 0 when none is selected.
    int selectedSura() const { return itemData(m_currentIndex); }
    // -1 clears the selection; an index outside -1..count - 1 is refused. Emits currentIndexChanged only
    // when the index changes (selecting the selected item again loads nothing).
    Result<void> setCurrentIndex(int index);

    // True when the item's text says its recording is missing.
    bool audioMissing(int index) const;
    // Re-marks every item: the suffix is removed, then appended once when no file
    // mp3Folder + "NNN.mp3" exists. mp3Folder ends with "/".
    void checkMp3(const QString& mp3Folder);
    // Re-marks every item with markOf(sura) (empty: no mark): the item's previous mark, and any
    // " (audio missing)" in its text, is removed first.
    void setMarks(const std::function<QString(int sura)>& markOf);

signals:
    void currentIndexChanged(int index);

private:
    QStringList m_texts;
    // The mark each item's text ends with, empty when none.
    QStringList m_marks;
    int m_currentIndex = -1;
};

}  // namespace lumora
