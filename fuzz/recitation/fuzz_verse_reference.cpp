// Clipboard texts as verse references: any bytes end in a reference of numbers above 0 that reads back
// the same from its own text, or in nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "recitation/versereference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<lumora::VerseReference> reference = lumora::VerseReference::parse(text);
    if (!reference) return 0;
    if (reference->sura <= 0 || reference->firstVerse <= 0 || reference->lastVerse <= 0) std::abort();
    const QString written = QStringLiteral("%1:%2-%3").arg(reference->sura).arg(reference->firstVerse).arg(reference->lastVerse);
    if (lumora::VerseReference::parse(written) != reference) std::abort();
    return 0;
}
