#pragma once
// Where the converter keeps its settings and finds the files it ships with.
#include <string>

namespace app {

// "option.ini": $TARVIK_CONFIG_DIR when set (tests); else beside the program when that folder
// is writable; else $XDG_CONFIG_HOME/tarvik (~/.config/tarvik), since an installed program's
// folder belongs to root.
std::string OptionIniFileName();

// $HOME/Tarvik视频软件/输出 and $HOME/Tarvik视频软件/快照.
std::string DefaultOutputFolder();
std::string DefaultSnapshotFolder();

// A file the program ships ("help.html", "sounds/ring001.wav"): beside the program in a build
// tree, under <prefix>/share/tarvik once installed. The path beside the program when neither
// exists, so a missing file is reported with the name a user expects.
std::string ProgramFile(const std::string& relative);

// Why files cannot be written into the folder (made with its parents when missing), in the
// system's words; empty when they can.
std::string FolderWriteProblem(const std::string& folder);

} // namespace app
