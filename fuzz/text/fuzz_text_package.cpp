// A package configuration and a verse with its word-by-word line. The input is the configuration's bytes,
// then (after the first 0xFF 0xFF pair) UTF-16 little-endian text: the word-by-word line, LF, the verse.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "text/displayproperties.h"
#include "text/packageconfig.h"
#include "text/packagetext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumora;
    const uint8_t marker[] = {0xFF, 0xFF};
    const uint8_t* split = std::search(data, data + size, marker, marker + 2);
    const std::vector<uint8_t> config(data, split);
    const std::vector<uint8_t> rest(split == data + size ? split : split + 2, data + size);

    PackageSettings settings;
    const PackageConfig parsed = PackageConfig::parse(config);
    (void)parsed.readInto(settings, QStringLiteral("fuzz"));

    const QStringList lines = PackageText::splitLines(PackageText::fromUtf16Le(rest));
    const QString wordByWord = lines.value(0);
    const QString verse = lines.mid(1).join(QChar(u'\n'));

    DisplayProperties pane(QStringLiteral("/nonexistent"));
    pane.setFontFace(settings.fontFace);
    pane.setRightToLeft(settings.rightToLeft);
    pane.setAdditionalStyles(settings.additionalStyles);
    pane.setWordByWordText(wordByWord);
    pane.setDisplayText(verse);
    // A second build meets the linked text and must leave it as it is.
    const QString linked = pane.displayText();
    pane.setForeColour(0x123456);
    if (pane.displayText() != linked) __builtin_trap();
    (void)PackageText::decodeConfiguration(rest);
    return 0;
}
