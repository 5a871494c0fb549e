#pragma once
// The converter's start: the media components, the skin engine, the application with its
// title and help file, the main window, the about box and the options dialog, then the
// message loop until the main window closes.
namespace app {

int RunProgram();

} // namespace app
