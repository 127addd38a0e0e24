#include "recitation/recitationcontroller.h"

#include <algorithm>
#include <limits>

#include "audio/joinedframeindex.h"
#include "audio/player.h"
#include "codec/suracatalogue.h"
#include "recitation/clock.h"
#include "recitation/recitationwindow.h"
#include "recitation/timingcheck.h"
#include "recitation/versereference.h"
#include "recitation/versetextsink.h"

namespace lumora {

const QString RecitationController::kAudioMissingTitle = QStringLiteral("Audio file not installed");
const QString RecitationController::kAudioMissingText =
    QStringLiteral("Audio file for this sura is not installed. \r\n\r\n"
                   "Add its MP3 file to the recordings folder, or choose another reciter in the Recitation "
                   "menu.\r\n\r\n"
                   "Do you want to read how to add recordings ?");

QString RecitationController::timingsMissingText(int sura) {
    return QStringLiteral(
               "Sura %1 has a recording but no verse timings, so its verses cannot be followed yet. Make them "
               "with \"lumora-pack timings-import\" (from another player's timings) or \"lumora-pack autotime\" "
               "(from the recording itself), or mark them while listening with Recitation \u2192 Verse Timings.")
        .arg(TimingCheck::suraName(sura));
}

namespace {

QString threeDigit(int number) { return QString::fromStdString(SuraCatalogue::threeDigit(number)); }

// Range lengths of the range moves are bytes: a length outside 0..255 counts as 0 (a single verse).
int32_t byteLength(int64_t length) { return length >= 0 && length <= 255 ? static_cast<int32_t>(length) : 0; }

}  // namespace

RecitationController::RecitationController(Player& player, const Clock& clock, RecitationWindow& window,
                                           VerseTextSink& texts, QObject* parent)
    : QObject(parent), m_player(player), m_clock(clock), m_window(window), m_texts(texts) {
    connect(&m_suraList, &SuraList::currentIndexChanged, this, [this] { loadSura(); });
    for (int i = 0; i < 3; ++i)
        connect(&m_sliders[static_cast<size_t>(i)], &VerseSliderModel::changed, this,
                [this, i] { onSliderChanged(i); });
    connect(&m_speed, &SpeedModel::changed, this, [this] { m_player.setSpeed(m_speed.factor()); });
}

RecitationController::~RecitationController() = default;

void RecitationController::setFolders(const QString& appFolder, const QString& mp3Folder) {
    m_appFolder = appFolder;
    m_mp3Folder = mp3Folder;
}

void RecitationController::setRecordingLookup(std::function<SuraRecording(int sura)> lookup) {
    m_recordingLookup = std::move(lookup);
}

SuraRecording RecitationController::recordingFor(int sura) const {
    if (m_recordingLookup) return m_recordingLookup(sura);
    SuraRecording recording;
    recording.sura = sura;
    recording.kind = SuraRecording::Kind::kPerSura;
    recording.file = m_mp3Folder + threeDigit(sura) + QStringLiteral(".mp3");
    recording.timingSource = SuraRecording::TimingSource::kProgramFolder;
    recording.timingArchive = m_appFolder + QStringLiteral("/data/pos.dat");
    return recording;
}

void RecitationController::fillVerseNo() { m_verseNo = SuraCatalogue::verseNoTable(); }

void RecitationController::checkMp3() { m_suraList.checkMp3(m_mp3Folder); }

Result<void> RecitationController::readRangeSettings(const SettingsStore& store) {
    Result<RangeSettings> read = RangeSettings::read(store);
    if (!read) return read.error();
    m_range = read.value();
    return {};
}

Result<void> RecitationController::applyRangeSetup(SettingsStore& store, const RangeSetupEntry& entry) {
    Result<RangeSettings> values = RangeSettings::fromEntry(entry);
    if (!values) return values.error();
    m_range = values.value();
    return RangeSettings::save(store, entry);
}

int RecitationController::verseNo(int sura) const {
    return sura >= 1 && sura <= SuraCatalogue::kSuraCount ? m_verseNo[static_cast<size_t>(sura)] : 0;
}

// ---------------------------------------------------------------------------------------------------
// Sura load

Result<void> RecitationController::selectSura(int index) { return m_suraList.setCurrentIndex(index); }

void RecitationController::loadSura() {
    if (m_suraList.currentIndex() == -1 || m_loadingSura) return;
    m_loadingSura = true;
    // A new sura abandons the range being followed: nothing plays until recitation starts again.
    stopFollowing();
    m_shownSlot = -1;

    const int sura = m_suraList.selectedSura();
    const int count = verseNo(sura);
    m_recording = recordingFor(sura);
    m_joined.reset();
    m_noticesShown.clear();
    std::optional<Error> failure = loadTimings(sura, count);
    const bool timingsRead = !failure && !m_timingsMissing;

    (void)rangeBegin().setMax(count - 1);
    (void)rangeEnd().setMax(count - 1);
    (void)rangeBegin().setValue(0);
    (void)rangeEnd().setValue(count - 1);
    for (VerseSliderModel& slider : m_sliders) slider.setSura(static_cast<uint8_t>(sura));
    setSliderToolTip(0);
    setSliderToolTip(1);
    Result<void> texts = m_texts.loadSuraTexts(sura, count);
    if (!texts && !failure) failure = texts.error();

    m_suraNumberText = threeDigit(sura);
    (void)currentVerseSlider().setMax(rangeEnd().max());
    m_window.setRulerVerses(static_cast<int16_t>(rangeEnd().max()));
    (void)currentVerseSlider().setValue(0);
    rangeEnd().setTag(QStringLiteral("0"));
    m_currentVerse = 0;
    showCurrentVerse();

    openRecording();
    m_loadingSura = false;
    emit suraLoaded();
    if (failure) m_window.showFailure(*failure);
    if (timingsRead && m_player.hasStream() && !m_joined) {
        // A table from a timing archive may have been made for another recording.
        const QString drift = TimingCheck::drift(sura, m_verseTable, m_player.streamLength());
        if (!drift.isEmpty()) showNotice(drift);
    }
}

std::optional<Error> RecitationController::loadTimings(int sura, int count) {
    m_verseTable.clear();
    m_timingsMissing = false;
    std::optional<Error> failure;
    if (m_recording.kind == SuraRecording::Kind::kPerVerse) {
        // A per-verse collection is timed by its files: each record lasts as long as its file decodes.
        std::vector<std::string> paths;
        paths.reserve(static_cast<size_t>(count));
        for (int k = 0; k < count; ++k) {
            const bool listed = k < m_recording.recordFiles.size();
            paths.push_back(listed ? m_recording.recordFiles[k].toStdString() : std::string());
        }
        m_joined = std::make_shared<const JoinedFrameIndex>(JoinedFrameIndex::fromFiles(paths));
        for (const JoinedFrameIndex::PartTimes& times : m_joined->partTimesMs())
            m_verseTable.push_back({times.startMs, times.endMs});
    } else if (m_recording.timingSource != SuraRecording::TimingSource::kNone &&
               !m_recording.timingArchive.isEmpty()) {
        Result<std::vector<VerseTiming>> table =
            VerseTimingTable::read(m_recording.timingArchive.toStdString(), sura);
        if (table)
            m_verseTable = std::move(table.value());
        else
            failure = table.error();
    } else {
        m_timingsMissing = m_recording.kind == SuraRecording::Kind::kPerSura;
    }
    // Records the entry lacks keep start and end 0.
    m_verseTable.resize(static_cast<size_t>(count));
    return failure;
}

void RecitationController::openRecording() {
    m_player.closeAll();
    m_mediaFile = m_recording.file;
    if (m_joined) {
        m_mediaFile.clear();
        for (const JoinedFrameIndex::Part& part : m_joined->parts()) {
            if (part.state == JoinedFrameIndex::PartState::kPresent) {
                m_mediaFile = QString::fromStdString(part.path);
                break;
            }
        }
        (void)m_player.openJoinedRecording(m_joined);
    } else if (!m_mediaFile.isEmpty()) {
        (void)m_player.openMp3File(m_mediaFile.toStdString());
    }
}

void RecitationController::showNotice(const QString& text) {
    if (m_noticesShown.contains(text)) return;
    m_noticesShown << text;
    m_window.showNotice(text);
}

void RecitationController::noticeSilentRecords(int32_t first, int32_t last) {
    if (!m_joined) return;
    QStringList missing;
    QStringList damaged;
    for (int32_t k = std::max(first, 0); k <= last && k < m_joined->partCount(); ++k) {
        const JoinedFrameIndex::Part& part = m_joined->part(k);
        if (part.state == JoinedFrameIndex::PartState::kMissing)
            missing << TimingCheck::recordName(sura(), k);
        else if (part.state == JoinedFrameIndex::PartState::kDamaged)
            damaged << TimingCheck::recordName(sura(), k) + QStringLiteral(" (") +
                           QString::fromStdString(part.problem) + QLatin1Char(')');
    }
    QStringList parts;
    if (!missing.isEmpty())
        parts << QStringLiteral("no recording in this reciter's folder for %1")
                     .arg(missing.join(QStringLiteral(", ")));
    if (!damaged.isEmpty())
        parts << QStringLiteral("a recording that cannot be played for %1")
                     .arg(damaged.join(QStringLiteral(", ")));
    if (!parts.isEmpty())
        showNotice(QStringLiteral("Skipped: %1.").arg(parts.join(QStringLiteral("; "))));
}

bool RecitationController::rangeIsSilent() const {
    if (!m_joined) return false;
    const std::optional<VerseTiming> start = timing(m_sliders[0].value());
    const std::optional<VerseTiming> end = timing(m_sliders[1].value());
    return start && end && start->startMs >= end->endMs;
}

void RecitationController::reloadSura() {
    if (m_suraList.currentIndex() == -1 || m_loadingSura) return;
    const int32_t begin = rangeBegin().value();
    const int32_t end = rangeEnd().value();
    const int32_t current = currentVerseSlider().value();
    const QString length = rangeEnd().tag();
    const int32_t verse = m_currentVerse;
    stop();
    loadSura();
    // The sura is the same, so the old values fit its scale.
    (void)rangeBegin().setValue(begin);
    (void)rangeEnd().setValue(end);
    (void)currentVerseSlider().setValue(current);
    rangeEnd().setTag(length);
    setSliderToolTip(0);
    setSliderToolTip(1);
    m_currentVerse = verse;
    setText();
}

// ---------------------------------------------------------------------------------------------------
// Verse texts and sliders

void RecitationController::setText() {
    m_shownSlot = -1;
    showCurrentVerse();
}

void RecitationController::showCurrentVerse() {
    // A slot outside the table changes no page.
    if (m_currentVerse != m_shownSlot && m_currentVerse >= 0 &&
        m_currentVerse < static_cast<int32_t>(m_verseTable.size())) {
        m_texts.setText(m_currentVerse);
        m_shownSlot = m_currentVerse;
    }
    currentVerseSlider().setToolTipText(VerseSliderModel::valueTipText(m_currentVerse, static_cast<uint8_t>(sura())));
}

void RecitationController::setSliderToolTip(int index) {
    VerseSliderModel& s = slider(index);
    s.setToolTipText(VerseSliderModel::valueTipText(s.value(), static_cast<uint8_t>(sura())));
}

void RecitationController::onSliderChanged(int index) {
    if (index == 2) {
        m_currentVerse = currentVerseSlider().value();
        showCurrentVerse();
    }
    if (sura() == 0) return;
    setSliderToolTip(index);
    // A recitation in progress now stops at the new range end.
    if (index == 1)
        if (const std::optional<VerseTiming> end = timing(rangeEnd().value())) m_player.setEnd(end->endMs);
}

std::optional<VerseTiming> RecitationController::timing(int32_t record) const {
    if (record < 0 || record >= static_cast<int32_t>(m_verseTable.size())) return std::nullopt;
    return m_verseTable[static_cast<size_t>(record)];
}

std::optional<int32_t> RecitationController::verseToRecord(int verse) const {
    const int s = sura();
    if (s == 0) return std::nullopt;
    const int64_t record = (s == 1 || s == 9) ? static_cast<int64_t>(verse) - 1 : verse;
    if (record < 0 || record >= static_cast<int64_t>(m_verseTable.size())) return std::nullopt;
    return static_cast<int32_t>(record);
}

// ---------------------------------------------------------------------------------------------------
// Sequencer

bool RecitationController::play(int32_t startRecord, int32_t endRecord) {
    const std::optional<VerseTiming> start = timing(startRecord);
    const std::optional<VerseTiming> end = timing(endRecord);
    if (!start || !end) return false;
    if (m_timingsMissing) {
        showNotice(timingsMissingText(sura()));
        return false;
    }
    noticeSilentRecords(startRecord, endRecord);
    // The player leaves the stream where it is for a start of 0 ms or less, which after a first recitation
    // is the old range end; a range from the file's beginning must be heard from there again.
    if (start->startMs <= 0) m_player.setPositionInSec(0);
    m_player.play(start->startMs, end->endMs);
    return true;
}

void RecitationController::startFollowing() { m_tickEnabled = true; }

void RecitationController::stopFollowing() {
    m_tickEnabled = false;
    clearWait();
}

void RecitationController::startRecitation() {
    if (sura() == 0) return;
    if (m_isPaused) {
        pauseOrContinue();
        return;
    }
    // The tick is off until a range is followed again; a pending wait only goes on if it is.
    m_tickEnabled = false;
    m_isPaused = false;

    if (m_suraList.audioMissing(m_suraList.currentIndex())) {
        clearWait();
        if (m_window.askYesNo(kAudioMissingTitle, kAudioMissingText)) m_window.openDownloadPage();
        return;
    }
    if (m_timingsMissing) {
        // Without timings no verse can be followed: say so and how to make them, and play nothing.
        m_wait.reset();
        m_window.showNotice(timingsMissingText(sura()));
        return;
    }

    if (isKeyboard()) {
        clearWait();
        const int32_t verse = currentVerseSlider().value();
        play(verse, verse);
        applyVolume();
        m_currentVerse = currentVerseSlider().value();
        showCurrentVerse();
    } else {
        const int32_t begin = rangeBegin().value();
        play(begin, rangeEnd().value());
        applyVolume();
        m_repeatsLeft = static_cast<int16_t>(std::clamp<int32_t>(m_range.noofTimes, std::numeric_limits<int16_t>::min(),
                                                                 std::numeric_limits<int16_t>::max()));
        startFollowing();
        (void)currentVerseSlider().setValue(begin);
        m_currentVerse = begin;
        showCurrentVerse();
    }
    setSliderToolTip(1);
    setSliderToolTip(0);
}

void RecitationController::pauseOrContinue() {
    if (sura() == 0) return;
    if (m_isPaused) {
        m_player.resumePlaying();
        m_isPaused = false;
    } else {
        m_player.pausePlaying();
        m_isPaused = true;
    }
}

void RecitationController::stop() {
    m_player.stopPlaying();
    (void)currentVerseSlider().setValue(rangeBegin().value());
    stopFollowing();
}

void RecitationController::setMode(RecitationMode mode) {
    if (mode == m_mode) return;
    m_mode = mode;
    m_window.showMode(mode);
    emit modeChanged(mode);
    m_player.stopPlaying();
    m_window.setPlayToolTip(mode == RecitationMode::Verse ? QStringLiteral("Recite Verse")
                                                          : QStringLiteral("Recite Range"));
    startRecitation();
}

void RecitationController::playVerse(int mode) {
    if (sura() == 0) return;
    if (mode == 1) {
        const int32_t verse = currentVerseSlider().value();
        if (isKeyboard()) {
            play(verse, verse);
        } else {
            startFollowing();
            play(verse, rangeEnd().value());
        }
        m_currentVerse = verse;
        showCurrentVerse();
    } else if (mode == 2) {
        if (isKeyboard()) {
            stepNextVerse();
        } else if (currentVerseSlider().value() < rangeEnd().value()) {
            startFollowing();
            (void)currentVerseSlider().setValue(currentVerseSlider().value() + 1);
            const int32_t verse = currentVerseSlider().value();
            play(verse, rangeEnd().value());
            m_currentVerse = verse;
        }
        showCurrentVerse();
    }
}

void RecitationController::onTimer() {
    if (m_wait) {
        if (waitIsOver())
            endWait();
        else if (!m_tickEnabled)
            idlePoll();
        return;
    }
    if (m_tickEnabled)
        tick();
    else
        idlePoll();
}

void RecitationController::idlePoll() { (void)m_player.getPosition(); }

void RecitationController::tick() {
    // Nothing while the user has paused or a wait holds the player.
    if (!m_player.pauseBreaked()) return;
    if (!isAuto()) return;
    const int32_t position = m_player.getPosition();

    if (rangeEnd().value() != currentVerseSlider().value()) {
        const std::optional<VerseTiming> current = timing(m_currentVerse);
        if (current && position >= current->endMs) {
            if (m_range.pauseBetweenVerses > 0) {
                m_player.pausePlaying();
                startWait(WaitKind::BetweenVerses, m_range.pauseBetweenVerses, position);
                return;
            }
            stepVerse();
        }
    }
    testRangeEnd(position);
}

void RecitationController::stepVerse() {
    ++m_currentVerse;
    (void)currentVerseSlider().setValue(m_currentVerse);
    showCurrentVerse();
}

void RecitationController::testRangeEnd(int32_t positionMs) {
    const std::optional<VerseTiming> end = timing(rangeEnd().value());
    if ((end && positionMs >= end->endMs) || positionMs >= m_player.streamLength()) rangeEnded();
}

void RecitationController::rangeEnded() {
    if (m_range.noofTimes == 0) {
        emit rangeRepeating(0);
        repeatRange();
    } else if (m_repeatsLeft == 1) {
        emit rangeFinished();
        runPolicy();
    } else if (m_repeatsLeft > 1) {
        --m_repeatsLeft;
        emit rangeRepeating(m_repeatsLeft);
        repeatRange();
    }
    // Fewer than one left (a negative count): the recording has stopped at the range end; later ticks
    // find the same state.
}

void RecitationController::repeatRange() {
    if (rangeIsSilent()) {
        // Every verse of the range is missing: repeating it would only repeat nothing.
        stopFollowing();
        return;
    }
    m_player.setPauseBreaked(false);
    startWait(WaitKind::AfterRange, m_range.pause);
}

void RecitationController::runPolicy() {
    if (currentVerseSlider().value() != currentVerseSlider().max()) {
        // The range ended before the sura's last record.
        if (m_range.nextRange) {
            m_player.setPauseBreaked(false);
            startWait(WaitKind::BeforeNextRange, m_range.pause);
        } else {
            stopFollowing();
        }
        return;
    }
    if (m_range.nextSura) {
        if (sura() == SuraCatalogue::kSuraCount) {
            stopFollowing();
        } else {
            m_player.setPauseBreaked(false);
            startWait(WaitKind::BeforeNextSura, m_range.pause);
        }
    } else if (m_range.restartSura) {
        m_player.setPauseBreaked(false);
        startWait(WaitKind::BeforeRestartSura, m_range.pause);
    } else if (m_range.stopRecitation) {
        stopFollowing();
    }
}

int32_t RecitationController::rangeEndTagValue() const {
    bool ok = false;
    const int32_t value = m_sliders[1].tag().trimmed().toInt(&ok);
    return ok ? value : 0;
}

int32_t RecitationController::rememberedOrCurrentLength() const {
    const int32_t remembered = rangeEndTagValue();
    return remembered > 0 ? remembered : m_sliders[1].value() - m_sliders[0].value();
}

void RecitationController::startWait(WaitKind kind, int32_t seconds, int32_t positionMs) {
    clearWait();
    m_wait = Wait{kind, m_clock.nowMs() + static_cast<int64_t>(seconds) * 1000, positionMs};
    emit waitStarted(kind, seconds);
}

void RecitationController::clearWait() {
    if (!m_wait) return;
    m_wait.reset();
    emit waitEnded();
}

bool RecitationController::waitIsOver() const {
    if (m_player.pauseBreaked()) return true;
    // While the user has paused, the wait holds until recitation continues.
    return !m_isPaused && m_clock.nowMs() > m_wait->deadlineMs;
}

void RecitationController::endWait() {
    const Wait wait = *m_wait;
    clearWait();
    // The range this wait belonged to is no longer followed (Stop, verse mode): nothing carries on.
    if (!m_tickEnabled) return;

    if (wait.kind == WaitKind::BetweenVerses) {
        // Something started or resumed playing during the wait: end without stepping.
        if (m_player.pauseBreaked()) return;
        m_player.resumePlaying();
        stepVerse();
        testRangeEnd(wait.positionMs);
        return;
    }

    m_player.setPauseBreaked(true);
    switch (wait.kind) {
    case WaitKind::AfterRange:
        (void)currentVerseSlider().setValue(rangeBegin().value());
        play(rangeBegin().value(), rangeEnd().value());
        applyVolume();
        m_currentVerse = currentVerseSlider().value();
        showCurrentVerse();
        break;
    case WaitKind::BeforeNextRange:
        moveRangeForward();
        break;
    case WaitKind::BeforeNextSura: {
        const bool wholeSura =
            rangeBegin().value() == rangeBegin().min() && rangeEnd().value() == rangeEnd().max();
        const int32_t length = rememberedOrCurrentLength();
        if (!selectSura(m_suraList.currentIndex() + 1)) {
            stopFollowing();
            return;
        }
        // The load made the whole sura the range; a shorter range keeps its length when the sura has room.
        if (!wholeSura && rangeBegin().max() >= length) (void)rangeEnd().setValue(rangeBegin().value() + length);
        startRecitation();
        break;
    }
    case WaitKind::BeforeRestartSura: {
        const int32_t length = rememberedOrCurrentLength();
        (void)rangeBegin().setValue(rangeBegin().min());
        (void)rangeEnd().setValue(rangeBegin().value() + length);
        startRecitation();
        break;
    }
    case WaitKind::None:
    case WaitKind::BetweenVerses:
        break;
    }
}

// ---------------------------------------------------------------------------------------------------
// Navigation

void RecitationController::stepNextVerse() {
    if (currentVerseSlider().value() != rangeEnd().value())
        (void)currentVerseSlider().setValue(currentVerseSlider().value() + 1);
    else
        (void)currentVerseSlider().setValue(rangeBegin().value());
    startRecitation();
}

void RecitationController::stepPreviousVerse() {
    if (currentVerseSlider().value() != rangeBegin().value())
        (void)currentVerseSlider().setValue(currentVerseSlider().value() - 1);
    else
        (void)currentVerseSlider().setValue(rangeEnd().value());
    startRecitation();
}

void RecitationController::setRangeLength(int verses) {
    (void)rangeEnd().setValue(rangeBegin().value() + verses - 1);
    startRecitation();
}

void RecitationController::reciteWholeSura() {
    (void)rangeBegin().setValue(0);
    (void)rangeEnd().setValue(rangeEnd().max());
    (void)currentVerseSlider().setValue(0);
    startRecitation();
}

void RecitationController::moveRangeForward() {
    if (sura() == 0) return;
    const int32_t begin = rangeBegin().value();
    const int32_t end = rangeEnd().value();
    const int32_t last = rangeEnd().max();
    if (end == last) return;
    const int32_t length = byteLength(static_cast<int64_t>(end) - begin);
    (void)rangeBegin().setValue(end + 1);
    if (static_cast<int64_t>(end) + 1 + length > last) {
        // Clipped at the sura's end: the full length is remembered for the next sura or a restart.
        rangeEnd().setTag(QString::number(length));
        (void)rangeEnd().setValue(last);
    } else {
        rangeEnd().setTag(QStringLiteral("0"));
        (void)rangeEnd().setValue(end + 1 + length);
    }
    (void)currentVerseSlider().setValue(rangeEnd().value());
    startRecitation();
}

void RecitationController::moveRangeBackward() {
    if (sura() == 0) return;
    const int32_t begin = rangeBegin().value();
    if (begin == 0) return;
    const int32_t remembered = rangeEndTagValue();
    const int32_t length = byteLength(remembered > 0 ? remembered : static_cast<int64_t>(rangeEnd().value()) - begin);
    // Below 0 the slider refuses the value and Range Begin stays.
    (void)rangeBegin().setValue(begin - length - 1);
    (void)rangeEnd().setValue(rangeBegin().value() + length);
    (void)currentVerseSlider().setValue(rangeBegin().value());
    startRecitation();
}

void RecitationController::nextSura() {
    // At the last sura the list refuses the index and nothing happens.
    if (!selectSura(m_suraList.currentIndex() + 1)) return;
    startRecitation();
}

void RecitationController::previousSura() {
    if (m_suraList.currentIndex() == 0) return;
    if (!selectSura(m_suraList.currentIndex() - 1)) return;
    startRecitation();
}

void RecitationController::openVerseDialog(VerseDialogPurpose purpose) {
    const int s = sura();
    if (s == 0) return;
    switch (purpose) {
    case VerseDialogPurpose::MoveToVerse:
        m_window.showVerseDialog(QStringLiteral("Move to Verse"), false, false, verseNo(s));
        break;
    case VerseDialogPurpose::SetRangeBegin:
        m_window.showVerseDialog(QStringLiteral("Set Range Begin"), true, false, verseNo(s));
        break;
    case VerseDialogPurpose::SetRangeEnd:
        m_window.showVerseDialog(QStringLiteral("Set Range End"), false, true, verseNo(s));
        break;
    }
}

void RecitationController::setVolumeMenuItem(int index) {
    m_volume.setCurPosition(index * VolumeModel::kMenuStep);
    applyVolume();
}

void RecitationController::changeVolumeBy(int32_t delta) {
    m_volume.setCurPosition(static_cast<int32_t>(
        std::clamp<int64_t>(static_cast<int64_t>(m_volume.curPosition()) + delta, VolumeModel::kMin, VolumeModel::kMax)));
    applyVolume();
}

void RecitationController::applyVolume() { m_player.setVolume(m_volume.curPosition()); }

// ---------------------------------------------------------------------------------------------------
// Verse jumps

void RecitationController::callSetText(int verse, bool setsRangeBegin, bool setsRangeEnd) {
    const std::optional<int32_t> record = verseToRecord(verse);
    if (!record) return;
    if (!setsRangeBegin && !setsRangeEnd) {
        m_currentVerse = *record;
        (void)currentVerseSlider().setValue(*record);
        showCurrentVerse();
        applyVolume();
        playVerse(1);
    } else if (setsRangeBegin) {
        (void)rangeBegin().setValue(*record);
    } else {
        (void)rangeEnd().setValue(*record);
        if (const std::optional<VerseTiming> end = timing(rangeEnd().value())) m_player.setEnd(end->endMs);
    }
}

void RecitationController::callSetTextAndRange(int firstVerse, int lastVerse) {
    const std::optional<int32_t> first = verseToRecord(firstVerse);
    const std::optional<int32_t> last = verseToRecord(lastVerse);
    if (!first || !last || *last < *first) return;
    m_currentVerse = *first;
    (void)rangeBegin().setValue(*first);
    (void)rangeEnd().setValue(*last);
    (void)currentVerseSlider().setValue(m_currentVerse);
    showCurrentVerse();
    applyVolume();
    playVerse(1);
}

bool RecitationController::goToVerse(int suraNumber, int verse) {
    if (suraNumber < 1 || suraNumber > SuraCatalogue::kSuraCount) return false;
    if (suraNumber != sura() && !selectSura(suraNumber - 1)) return false;
    const std::optional<int32_t> record = verseToRecord(verse);
    if (!record) return false;
    if (*record < rangeBegin().value() || *record > rangeEnd().value())
        callSetTextAndRange(verse, verse);
    else
        callSetText(verse, false, false);
    return true;
}

bool RecitationController::followVerseReference(const QString& text) {
    const std::optional<VerseReference> reference = VerseReference::parse(text);
    if (!reference) return false;
    if (!selectSura(reference->sura - 1)) return false;
    callSetTextAndRange(reference->firstVerse, reference->lastVerse);
    return true;
}

}  // namespace lumora
