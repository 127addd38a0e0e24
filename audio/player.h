#pragma once
// Player: Lumora's MP3 player. One stream at a time (the loaded sura's recording), played from a start
// time up to an end mark, with pause and resume, a master volume, positions in milliseconds and in file
// bytes, and the ten-band equalizer over the whole output.
//
// Threads: every public function runs on the caller's (the window's) thread. A decoder thread fills a
// lock-free ring; the output's callback drops blocks made stale by a seek, applies the equalizer and a
// ramped volume, and publishes which stream sample it rendered. From that the position of the sample
// being heard is worked out (output latency compensated): it never decreases between seeks and stays
// frozen while paused or stopped.
//
// The position seen by callers runs 200 ms ahead of the stream: getPosition returns the stream time plus
// 200, and playback ends when the stream time reaches the end mark minus 200. The sequencer relies on
// this look-ahead to change the shown verse before its recitation is heard. The callback itself stops
// at that point too, so a late query never lets the next verse sound; getPosition keeps its own check.
//
// Speed: away from 1.00 a StretchStage sits between the decoded blocks and the equalizer. Positions, the
// end mark and seeks stay in recording time at every speed (the stage's output frame k stands for
// recording sample start + k × speed); only the wall-clock time the recording takes changes. At 1.00
// the stage is out of the chain and the samples are exactly those of the decoder.

#include <array>
#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/blockring.h"
#include "audio/decoderthread.h"
#include "audio/equalizer.h"
#include "audio/joinedframeindex.h"
#include "audio/mp3frameindex.h"
#include "audio/samplesource.h"
#include "audio/soundoutput.h"
#include "audio/stretchstage.h"

namespace lumora {

class Player {
public:
    static constexpr int32_t kLookAheadMs = 200;

    // Takes the output; a null output pointer means a real-time null output. When the output cannot
    // start, the player goes on over a real-time null output and initMessage() says why.
    explicit Player(std::unique_ptr<SoundOutput> output);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Non-empty when initialisation failed: the message for the window to show.
    std::string initMessage() const { return m_initMessage; }

    // Closes the previous stream and opens `path`; sets streamLength (0 on failure). False when there
    // is no stream (a missing or damaged file); nothing is reported.
    bool openMp3File(const std::string& path);
    // Closes the previous stream and opens a recording of several files played as one (a per-verse
    // collection); sets streamLength. False, with no stream, when the recording has no samples at all.
    bool openJoinedRecording(std::shared_ptr<const JoinedFrameIndex> recording);

    void enableEqualizer();
    void disableEqualizer();
    void setEqualizerValue(const std::array<float, 10>& gainsDb);
    bool equalizerEnabled() const { return m_equalizerEnabled; }

    void stopPlaying();
    // Pauses a playing stream; pauseBreaked becomes false either way.
    void pausePlaying();
    // pauseBreaked becomes true; a paused stream plays on.
    void resumePlaying();

    // Volume on the 0..1000 scale; the master volume becomes volume × 255 / 1000, rounded half to even.
    void setVolume(int32_t volume);
    int32_t masterVolume() const { return m_masterVolume; }
    static int32_t masterVolumeFor(int32_t volume);

    void closeAll();

    // The stream time plus 200 ms; stops the stream once the time reaches the end mark minus 200.
    int32_t getPosition();
    void setEnd(int32_t endMs);
    int32_t endMark() const { return m_endMarkMs; }

    // pauseBreaked := true; seeks to startMs when it is above 0; end mark := endMs (0 when below 1);
    // plays.
    void play(int32_t startMs, int32_t endMs);
    // Moves the stream to `ms` milliseconds, playing or not.
    void setPositionInSec(int32_t ms);
    // The file offset of the frame being heard; 0 without a stream.
    int32_t getPositionByBytes();

    // Recording time per wall-clock time, kept between StretchStage::kMinSpeed and kMaxSpeed; a change
    // while playing is heard within a few tens of milliseconds, without a break.
    void setSpeed(double speed);
    double speed() const { return m_speed; }

    bool pauseBreaked() const { return m_pauseBreaked; }
    void setPauseBreaked(bool value) { m_pauseBreaked = value; }
    int32_t streamLength() const { return m_streamLengthMs; }
    void setStreamLength(int32_t ms) { m_streamLengthMs = ms; }

    bool hasStream() const { return m_index != nullptr; }
    bool isPlaying();
    bool isPaused();
    // The stream sample being heard (no look-ahead); 0 without a stream.
    int64_t heardSample();
    // The open stream's frame index when it is one file (nullptr for a recording of several).
    const Mp3FrameIndex* frameIndex() const {
        return m_index && m_index->partCount() == 1 ? &m_index->part(0).index : nullptr;
    }
    // The open stream's parts: one for a single file, one per file of a joined recording.
    const JoinedFrameIndex* recordingIndex() const { return m_index.get(); }
    SoundOutput& output() { return *m_output; }

private:
    enum Transport : int { kStopped = 0, kPlaying = 1, kPaused = 2 };

    struct Snapshot {
        uint32_t generation = 0;
        bool valid = false;
        int64_t renderedStart = 0;
        int64_t renderedEnd = 0;
        int64_t timeNs = 0;
        double speed = 1.0;
    };

    void startOutput(const SoundFormat& format);
    void releaseStream();
    bool startStream(std::shared_ptr<const JoinedFrameIndex> index, std::unique_ptr<SampleSource> decoder);
    bool noStream();
    void seekTo(int64_t ms);
    void setEndMark(int32_t endMs);
    void syncTransport();

    // Audio callback side.
    void render(float* out, int32_t frames);
    void applySettings();
    enum class Fetch { kBlock, kUnderrun, kEnded };
    Fetch fetchBlock();
    AudioBlock* queuedBlock(uint32_t n);
    AudioBlock* currentFront();
    Fetch fetchStretched();
    AudioBlock* blockHolding(int64_t sample);
    void releasePassedBlocks(int64_t sample);
    bool feedStretched();
    void topUpStretched();
    const float* peekFrame(int32_t ahead);
    void switchChain(int32_t atFrame);
    void restartStretch(int32_t atFrame);
    void keepLead(const float* frames, int32_t count);
    void dropUnheardLead();
    int32_t renderDirect(float* out, int32_t frames, int64_t stopAt);
    int32_t renderStretched(float* out, int32_t frames, int64_t stopAt);
    int32_t fadeOut(float* out, int32_t frames);
    void keepFadeTail(int32_t atFrame);
    void mixFadeTail(float* out, int32_t frames);
    void copyAudible(float* out, int32_t frames);
    void engineStop(int64_t finalSample);
    void publish(int64_t renderedStart, bool startValid, double speed);
    Snapshot readSnapshot() const;

    std::unique_ptr<SoundOutput> m_output;
    std::string m_initMessage;
    SoundFormat m_format;
    bool m_outputRealTime = false;
    int64_t m_outputLatencyFrames = 0;

    // Window-thread state.
    // The open stream's timeline: positions are milliseconds and samples of the whole recording.
    std::shared_ptr<const JoinedFrameIndex> m_index;
    std::unique_ptr<BlockRing> m_ring;
    std::unique_ptr<DecoderThread> m_decoder;
    int32_t m_streamLengthMs = 0;
    int32_t m_endMarkMs = 0;
    bool m_pauseBreaked = false;
    int32_t m_masterVolume = 255;
    bool m_equalizerEnabled = false;
    std::array<float, 10> m_gainsDb{};
    double m_speed = 1.0;
    Transport m_controlTransport = kStopped;  // what this thread last set or saw
    int64_t m_genStartSample = 0;
    int64_t m_frozenSample = 0;
    int64_t m_lastHeard = 0;

    // Shared with the callback.
    std::atomic<int> m_transport{kStopped};
    std::atomic<uint32_t> m_generation{0};
    std::atomic<int64_t> m_stopSample{0};
    std::atomic<int64_t> m_engineFinalSample{0};
    std::atomic<bool> m_hardStart{false};
    std::atomic<float> m_volumeGain{1.0f};
    std::atomic<uint32_t> m_settingsSerial{1};
    std::array<std::atomic<float>, 10> m_sharedGainsDb{};
    std::atomic<bool> m_sharedEqualizerEnabled{false};
    std::atomic<double> m_sharedSpeed{1.0};
    std::atomic<uint32_t> m_snapshotSequence{0};
    std::atomic<uint32_t> m_snapshotGeneration{0};
    std::atomic<bool> m_snapshotValid{false};
    std::atomic<int64_t> m_snapshotStart{0};
    std::atomic<int64_t> m_snapshotEnd{0};
    std::atomic<int64_t> m_snapshotTimeNs{0};
    std::atomic<double> m_snapshotSpeed{1.0};

    // Callback-thread state.
    Equalizer m_equalizer;
    uint32_t m_seenSettings = 0;
    uint32_t m_renderGeneration = 0;
    bool m_renderPositionValid = false;
    bool m_renderFinished = false;
    AudioBlock* m_block = nullptr;
    int32_t m_blockOffset = 0;
    int32_t m_peekFrames = 0;
    int64_t m_renderSample = 0;
    int64_t m_generationFirstSample = 0;
    float m_rampGain = 0.0f;
    float m_rampStep = 1.0f;
    bool m_pendingHardStart = false;
    // After a seek while playing, the old audio's fade-out, mixed over the new audio's fade-in.
    std::vector<float> m_fadeTail;
    size_t m_fadeTailRead = 0;
    int32_t m_fadeTailStartFrame = 0;
    // The speed stage. While it is in the chain m_block points at m_stretchBlock, its output, and the
    // ring's blocks stay queued until the recording position has passed them, so leaving the stage
    // goes on from the ring at the exact sample. m_stretchPos is the recording position of the stage's
    // next output frame; m_feedSample the next recording sample to feed it.
    std::unique_ptr<StretchStage> m_stretch;
    double m_wantedSpeed = 1.0;
    bool m_stretching = false;
    bool m_stretchPrimed = false;
    double m_stretchPos = 0.0;
    double m_stretchBase = 0.0;
    double m_stretchStep = 1.0;
    int64_t m_feedSample = 0;
    // Where the stream ends, once the stage has been fed up to it: its output past there is padding.
    int64_t m_stretchEndSample = std::numeric_limits<int64_t>::max();
    int64_t m_directResumeSample = -1;
    AudioBlock m_stretchBlock;
    // The recording's last frames played without the stage or fed to it (a circle, m_leadFrames of them
    // valid), so that entering or restarting the stage continues from real audio. Fed frames run ahead of
    // m_renderSample by at most what the ring holds, which the circle has room for beside the stage's
    // lead; m_leadLine unrolls the lead.
    std::vector<float> m_lead;
    std::vector<float> m_leadLine;
    int32_t m_leadCapacity = 0;
    int32_t m_leadWrite = 0;
    int32_t m_leadFrames = 0;
};

}  // namespace lumora
