#pragma once
// Recall mode's blanks: the words of a pane's page body drawn as boxes of their own width, so the user
// recites the verse from memory while the layout stays exactly as it was. A word is a run of characters
// between blanks outside the page's tags (a word link's tag never splits or counts as a word); words are
// counted in the order they are written, which is the reading order in either direction.

#include <QString>
#include <cstdint>

namespace lumora {

class HiddenWords {
public:
    // The body with every word from firstHidden on (0: all) wrapped in a span whose text and background
    // are both colourHtml (six hexadecimal digits). A negative firstHidden leaves the body as it is.
    static QString blank(const QString& body, int firstHidden, const QString& colourHtml);
    // The number of words of a body.
    static int wordCount(const QString& body);
    // The colour of the boxes: the background moved a fifth of the way to the text colour, so the boxes
    // show on any background without looking like text. Colours are red + 256 * green + 65536 * blue.
    static uint32_t boxColour(uint32_t backColour, uint32_t foreColour);
};

}  // namespace lumora
