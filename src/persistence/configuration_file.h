// The configuration file "kora.cfg": where it lives, reading it with the check of every entry,
// writing it (through a temporary file) and importing another one. The dialog is in
// ui/configuration_form.h.
#pragma once

#include "base/configuration.h"

#include <array>
#include <string>
#include <string_view>

namespace kora {

struct Session;

inline constexpr std::string_view kConfigurationName = "kora";
inline constexpr std::string_view kConfigurationExtension = "cfg";

// What the screen gives the defaults of a missing file and the "<" buttons.
struct ScreenMetrics {
    int width = 1024, height = 768;            // screen
    int windowWidth = 800, windowHeight = 600; // main window frame
    int clientWidth = 792, clientHeight = 554; // its client area
    int pixelsPerInchY = 96;
};

// Where the configuration is read from and written to.
struct ConfigurationPlace {
    std::string folder; // holds "kora.cfg" and "kora.cff"
    std::string name = std::string(kConfigurationName);
    std::string startFolder;   // current folder at program start
    std::string programFolder; // the program's own folder (data directory)
    ScreenMetrics screen;
};

// The start folder when it holds "kora.cfg"; otherwise xdgConfigHome + "/kora" (when set and
// absolute), else home + "/.config/kora"; the start folder when neither is known.
std::string ConfigurationFolder(const std::string& startFolder, std::string_view xdgConfigHome,
                                std::string_view home);
// The same with $XDG_CONFIG_HOME and $HOME.
std::string ConfigurationFolder(const std::string& startFolder);

// folder + name + ".cfg".
std::string ConfigurationPath(const ConfigurationPlace& place);

// The values before any file is read, with the folders of this run filled in.
Configuration InitialConfiguration(const ConfigurationPlace& place);

// The frame and pixel-density factor of the screen behind "Input Window Scale %".
real ScreenScaleFactor(const ScreenMetrics& screen);
// "Input Window Scale %" as the screen gives it.
int InputWindowScaleFromScreen(const ScreenMetrics& screen);

// Reads the entries over the values `config` holds; entries the bytes lack keep their values.
// Then derives the window size from the screen where it is 0 or -1.
void ParseConfiguration(std::string_view bytes, Configuration& config,
                        const ConfigurationPlace& place);

// The bytes WriteConfiguration stores: reals always with a point.
std::string ConfigurationText(const Configuration& config);

// Reads the configuration file of `place`. A missing file leaves the values and sets the
// screen-derived ones; gives whether a file was read. Read errors are not reported.
bool ReadConfiguration(Configuration& config, const ConfigurationPlace& place);

// Stores session.config in the file of `place` (creating the folder). When the file cannot be
// created the user may retry or give up; a failure sets AbortFlag and gives false.
bool WriteConfiguration(Session& session, const ConfigurationPlace& place);

// "Import..": the user picks a ".cfg" file, which is read into session.config over its values.
// Cancelling changes nothing and gives false.
bool ImportConfiguration(Session& session, const ConfigurationPlace& place);

} // namespace kora
