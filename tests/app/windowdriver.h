#pragma once
// Drives the main window as a user's mouse would, where QTest has no call for it.

namespace lumora {
class MainWindow;
}

namespace lumora::test {

// Presses on separator 1..3, moves the pointer one pixel at a time `dyPixels` up (negative) or down,
// and releases.
void dragSeparator(MainWindow& window, int separator, int dyPixels);

}  // namespace lumora::test
