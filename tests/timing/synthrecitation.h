#pragma once
// Recitations synthesised for automatic timing, with every verse's first and last sound known: each verse
// is a run of "words" (tones of a few hundred ms with short gaps), as long as its text's letters at the
// reciter's pace give or take 15 %, long verses hold pauses of their own, and the pauses between verses
// vary. A noise floor fills every gap when asked, and a stretch of verses can be recited quietly.

#include <cstdint>
#include <vector>

#include <QString>

#include "support/testrecordings.h"
#include "timing/autotimer.h"

namespace lumora::test {

struct RecitationStyle {
    uint32_t seed = 1;
    double msPerLetter = 90;
    double amplitude = 0.4;
    // Gaps and pauses hold noise of this amplitude instead of digital silence (0: silence).
    double noiseAmplitude = 0;
    // Records from quietFrom to quietTo (inclusive) are recited at quietAmplitude.
    int quietFrom = -1;
    int quietTo = -1;
    double quietAmplitude = 0.04;
    // A pause inside a verse for every this many letters (0: none).
    double lettersPerInnerPause = 60;
    int innerPauseMinMs = 250;
    int innerPauseMaxMs = 800;
    int versePauseMinMs = 350;
    int versePauseMaxMs = 1600;
    RecordingSpec format = RecordingSpec::mono22();
};

struct SynthRecitation {
    Recording recording;
    std::vector<int32_t> firstSoundMs;  // per record
    std::vector<int32_t> lastSoundMs;   // per record: the end of its last word
};

// The recording of records weighing `weights` letters, made with lame unless cached.
SynthRecitation makeRecitation(const std::vector<double>& weights, const RecitationStyle& style);

// The recordings automatic timing is held to: several suras, pauses inside verses, pauses of varied
// lengths, a noise floor, a quiet passage.
struct AutotimeFixture {
    const char* name;
    int sura;
    RecitationStyle style;
};
std::vector<AutotimeFixture> autotimeFixtures();

struct AutotimeOutcome {
    Result<AutoTiming> timing = Error{};
    SynthRecitation recitation;
    double medianStartErrorMs = 0;  // |start - first sound| over the records
    int32_t latestStartMs = 0;      // the most a start lies after its verse's first sound
    int misplaced = 0;              // records whose start is not in the pause before their verse
};

// Makes the fixture's recording (the verses weighed by the program folder's Arabic text), decodes it and
// times it, and measures the result against the known verse starts.
AutotimeOutcome runAutotimeFixture(const AutotimeFixture& fixture, const QString& programFolder);

}  // namespace lumora::test
