#pragma once

class QApplication;

namespace kelt {

// What every run of the program needs before the first window: style, font names mapped to
// installed Japanese faces, Qt's own dialogs in Japanese.
void SetupApplication(QApplication& app);

// The start-up routine: splash, frame with its first sheet, then the event loop. With
// KELT_QUIT_WHEN_DRAWN set in the environment it ends once the frame is drawn: the launch
// benchmark times that.
int RunKelt(int argc, char** argv);

}  // namespace kelt
