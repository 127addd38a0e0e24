#pragma once
// Where the recitation controller sends verse texts: the text panes. The window wires the real
// implementation (the text folder's verse text assignment); tests record the calls.

#include "codec/result.h"

namespace lumora {

class VerseTextSink {
public:
    virtual ~VerseTextSink() = default;

    // Loads the four panes' texts of the sura for slotCount slots (records 0..slotCount - 1), panes 1 to 4
    // in order. A failure keeps the slots filled so far and is returned; the load goes on.
    virtual Result<void> loadSuraTexts(int sura, int slotCount) = 0;
    // Shows the texts of one slot in all four panes.
    virtual void setText(int slot) = 0;
};

}  // namespace lumora
