#pragma once
// Hands the recitation controller's text requests to the text panes' verse text assignment.

#include "recitation/versetextsink.h"

namespace lumora {

class VerseTextAssignment;

class PaneTextSink : public VerseTextSink {
public:
    explicit PaneTextSink(VerseTextAssignment& texts) : m_texts(texts) {}

    Result<void> loadSuraTexts(int sura, int slotCount) override;
    void setText(int slot) override;

private:
    VerseTextAssignment& m_texts;
};

}  // namespace lumora
