#pragma once
// Small shared operations of the media components: file sizes, text helpers,
// date-times, the message pump and the call into the GUI thread.
#include <cstdint>
#include <functional>
#include <string>

#include "os/Paths.h"

namespace media {

// The size in bytes of an existing file; -1 when it is missing or a folder.
int64_t FileSizeByName(const std::string& fileName);

// The program's folder with a trailing delimiter; the application appends "LibAV".
using os::ExeFolder;

// head := the text before the first separator.  With removeHead the text
// loses the head and the separator; without a separator the head is the whole
// text and, with removeHead, the text becomes empty.  An empty separator
// never occurs.
void SplitFirst(std::string& text, const std::string& separator, bool removeHead, std::string& head);

// "%.2f GB", "%.2f MB", "%.2f KB" above each unit, otherwise "%d Byte".
std::string SizeToText(int64_t bytes);

// Days since 1899-12-30, the fraction being the time of day.
using TDateTime = double;

// Seconds since 1970-01-01 UTC to the local date-time of the standard time
// zone (daylight saving is not applied).
TDateTime UnixToDateTime(int64_t seconds);

// Writes a date-time with the format letters yyyy, yy, m, mm, d, dd, h, hh,
// n, nn, s, ss and zzz; "m"/"mm" right after an hour means minutes.  Other
// characters, and text in double or single quotes, are copied.
std::string DateTimeText(const std::string& format, TDateTime value);

// Runs one pending message of the GUI thread; false when none was waiting.
// Until the window system installs its own pump, the GUI thread's pending
// synchronous calls are its messages.  On other threads there is nothing to pump.
bool ProcessOneMessage();
void ProcessMessages();

// The window system's message loop replaces the minimal pump here: the
// function runs one message and says whether there was one.  nullptr
// restores the minimal pump.
void SetMessagePump(std::function<bool()> pumpOne);

// Runs the call on the GUI thread and returns when it has run; on the GUI
// thread itself it runs at once.
void CallInMainThread(const std::function<void()>& call);

} // namespace media
