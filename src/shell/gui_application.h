// The Qt application object of a run that paints: the desktop window, or a command-line run
// that renders a drawing to PNG, SVG or PDF. Without a display the offscreen platform is
// used, so rendering works on a machine without X.
#pragma once

class QApplication;

namespace kora {

// True when a window can be shown: an X or Wayland display is named in the environment, or
// QT_QPA_PLATFORM chooses a platform explicitly.
bool DisplayAvailable();

// The one QApplication of the process (created on the first call; argc and argv must
// outlive it). Chooses the offscreen platform when no display is available.
QApplication& GuiApplication(int& argc, char** argv);

// Destroys that QApplication; call it before main returns. Left to the exit handlers, it
// would outlive Qt's own globals (the input devices) and crash the ending process.
void ReleaseGuiApplication();

} // namespace kora
