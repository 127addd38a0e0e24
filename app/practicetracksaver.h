#pragma once
// "Save Practice &Track...": asks for a file, then writes the current range as range mode would play it
// (its pauses, repetitions, speed and equalizer) on a worker thread, behind a progress window with
// Cancel. The file appears only when it is complete.

#include <QObject>
#include <QString>
#include <optional>

#include "audio/practicetrack.h"

namespace lumora {

class MainWindow;
struct EqualizerSettings;

class PracticeTrackSaver : public QObject {
public:
    // Lives as long as the window (its parent).
    PracticeTrackSaver(MainWindow& window, const EqualizerSettings& equalizer);

    void save();

    // What the progress window says about the track: the range, the repetitions and the speed.
    static QString summary(int sura, const QString& firstVerse, const QString& lastVerse, int repeat,
                           int speedHundredths);

private:
    std::optional<QString> chooseFile(const QString& proposedName);
    void write(const PracticeTrackSpec& spec, const QString& path, const QString& summaryText);

    MainWindow& m_window;
    const EqualizerSettings& m_equalizer;
};

}  // namespace lumora
