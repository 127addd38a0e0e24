// Ten thousand repeats of a two-verse range in virtual time: every repeat starts at the range begin at
// the same position and steps at the same moment, and the heap does not grow.
#include <malloc.h>

#include "recitationfixture.h"

#if defined(__SANITIZE_ADDRESS__)
// From the address sanitizer's runtime: mallinfo does not see its heap.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace lumora::test {
namespace {

size_t heapBytesInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

class Soak : public RecitationScenario {};

TEST_F(Soak, TenThousandRangeRepeatsNeitherDriftNorGrow) {
    constexpr int kRepeats = 10000;
    constexpr int64_t kStepMs = 10;
    settings.noofTimes = 0;
    load(107);
    setRange(2, 3);
    controller.startRecitation();
    texts.take();

    int64_t firstStepAfterMs = -1;
    int64_t firstRepeatMs = -1;
    size_t heapAtWarmUp = 0;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        ASSERT_EQ(controller.currentVerse(), 2) << repeat;
        ASSERT_NEAR(player.getPosition(), recordStartMs(2) + kLookAheadMs, kStepMs) << repeat;
        const int64_t stepAfterMs =
            runUntil([&] { return controller.currentVerse() == 3; }, 5000, kStepMs);
        const int64_t restAfterMs =
            runUntil([&] { return controller.waitKind() == RecitationController::WaitKind::AfterRange; }, 5000, kStepMs);
        runUntil([&] { return controller.waitKind() == RecitationController::WaitKind::None; }, 5000, kStepMs);
        if (repeat == 0) {
            firstStepAfterMs = stepAfterMs;
            firstRepeatMs = stepAfterMs + restAfterMs;
        }
        ASSERT_EQ(stepAfterMs, firstStepAfterMs) << repeat;
        ASSERT_EQ(stepAfterMs + restAfterMs, firstRepeatMs) << repeat;
        // The recorded panes keep what they were shown; only the controller's own memory counts.
        ASSERT_EQ(texts.take(), (std::vector<int>{3, 2})) << repeat;
        if (repeat == 100) heapAtWarmUp = heapBytesInUse();
    }
    EXPECT_NEAR(firstStepAfterMs, recordEndMs(2) - recordStartMs(2) - kLookAheadMs, kStepMs);
    EXPECT_EQ(range(), "2-3 2 0");
    // Allowance for caches that settle late; a leak of even a few bytes per repeat would exceed it.
    EXPECT_LT(heapBytesInUse(), heapAtWarmUp + 64 * 1024);
}

}  // namespace
}  // namespace lumora::test
