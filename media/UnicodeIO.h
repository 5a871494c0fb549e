#pragma once
// Opening inputs and outputs by their library-side names (LibraryFileName):
// a "unicode:utf8:" name is served by our own file callbacks as custom I/O,
// any other name goes to the libraries as it is.  Always close what these
// open with the matching close, which also frees the custom I/O.
extern "C" {
#include <libavformat/avformat.h>
}

namespace media {

// As avformat_open_input: *ps may be a context of the caller's (without I/O
// of its own), which is freed on failure.  On failure *ps is nullptr and the
// result is the libraries' error code (-2 for a missing unicode name).
// With an interrupt, a local file (a plain or "file:" name) is read through
// our callbacks too, and a read that waits for data gives up (AVERROR_EXIT) as
// soon as the interrupt says so.
int OpenInputByLibraryName(AVFormatContext** ps, const char* libraryName, const AVInputFormat* fmt,
                           AVDictionary** options, const AVIOInterruptCB* interrupt = nullptr);
void CloseInputByLibraryName(AVFormatContext** ps);

// As avio_open2 (flags AVIO_FLAG_WRITE or AVIO_FLAG_READ_WRITE for outputs).
int OpenOutputByLibraryName(AVIOContext** pb, const char* libraryName, int flags, AVDictionary** options);
// Flushes and closes; a negative result when something could not be written.
int CloseOutputByLibraryName(AVIOContext** pb);

} // namespace media
