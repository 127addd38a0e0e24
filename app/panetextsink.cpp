#include "app/panetextsink.h"

#include "text/versetextassignment.h"

namespace lumora {

Result<void> PaneTextSink::loadSuraTexts(int sura, int slotCount) {
    return m_texts.loadSuraTexts(sura, slotCount);
}

void PaneTextSink::setText(int slot) {
    m_texts.setText(slot);
}

}  // namespace lumora
