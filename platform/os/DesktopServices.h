#pragma once
// What the program asks of the desktop: open a file, folder or URL the way
// the user's desktop opens it, power the computer off, play a sound.  Each
// goes through SpawnDetached, so a SpawnRecorder sees it in tests.
#include <string>

namespace os {

// xdg-open with the target as its one argument; workDir is set in the child
// only.  False when no opener is installed or it cannot start; whether the
// desktop then finds an application is its own affair, as with Win32.
bool OpenWithDesktop(const std::string& target, const std::string& workDir = std::string());

// Asks the desktop's file manager to show the properties of a file or folder
// (org.freedesktop.FileManager1.ShowItemProperties on the session bus).  True
// when the request went out: a session bus is there, a file manager has
// registered that name for activation, and dbus-send or gdbus could start.
// False otherwise: the caller shows the properties itself.
bool ShowItemPropertiesWithFileManager(const std::string& path);

// An orderly power-off request, never forced: running programs and the
// user's session are asked to end.  systemctl where it exists (it asks
// login1 and its access rules), else login1 itself over the system bus.
// False when neither exists or the request cannot be sent.
bool RequestPowerOff();

// Plays a WAV file without waiting for it, through the first player of
// pw-play, paplay and aplay that is installed; a new sound replaces one
// still playing.  False (and silence) when the file is missing or no player
// exists.
bool PlayWaveAsync(const std::string& file);
void StopSound();

} // namespace os
