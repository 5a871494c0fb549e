#pragma once
// The converter's start: the media components, the skin engine, the application with its
// title and help file, the main window, the about box and the options dialog, then the
// message loop until the main window closes or the program is asked to end by a signal
// (SIGTERM, SIGINT, SIGHUP), which closes the main window as its user would.
namespace app {

class TForm1;

// Everything before the message loop; the signals that end the program are watched from
// here on.  Null when the program cannot start: it has said why on stderr.
TForm1* StartProgram();
// The message loop until the main window closes; the program's exit status.
int RunUntilClosed();
// Both.
int RunProgram();

} // namespace app
