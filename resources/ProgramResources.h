#pragma once
// The program's own pictures (the program icon, the glyphs the skinned dialogs load by their
// "BS_" names) in the resource registry, and the files that lie beside the program.
#include <span>
#include <string>

namespace resources {

// Puts the pictures into gui's resource registry; later calls do nothing.
void RegisterProgramResources();

// The sizes the program icon is drawn at, smallest first.
std::span<const int> ProgramIconSizes();
// The resource name of the icon of one size: "MAINICON_32".
std::string ProgramIconName(int size);

// Beside the program, relative to its folder.
inline constexpr const char* kCompletionSound = "sounds/ring001.wav";
inline constexpr const char* kHelpFile = "help.html";

} // namespace resources
