#pragma once
// File names between the program and the media libraries.  Names are UTF-8.
// A name that the locale's character set cannot hold reaches the libraries
// as "unicode:utf8:" followed by the name, and is read and written through
// our own "unicode" file callbacks (UnicodeIO.h serves them as custom I/O,
// since the libraries no longer let a program register a protocol).
#include <cstdint>
#include <string>

namespace media {

// False for names whose part before the first ":" is one of unicode, stream,
// gopher, http, pipe, rtp, tcp, udp; otherwise true when the locale's
// character set cannot hold the name.
bool NeedsUnicodeName(const std::string& name);
std::string EncodeUnicodeName(const std::string& name); // "unicode:utf8:" + name
bool IsUnicodeName(const std::string& bytes);           // at least 14 bytes, starting "unicode:utf8:"
std::string DecodeUnicodeName(const std::string& bytes);

// The library-side form of a name.  A file name on Linux is the bytes on
// disk, so a name the locale can hold goes to the libraries as it is.
std::string LibraryFileName(const std::string& name);
// The name again from its library-side form.
std::string DisplayFileName(const std::string& bytes);

// "Registered" means: the unicode callbacks serve "unicode:utf8:" names for
// the loaded avformat.  The loader registers after every load of avformat
// (once per load) and unregisters when it unloads it.
void RegisterUnicodeProtocol();
void UnregisterUnicodeProtocol();
bool UnicodeProtocolRegistered();
int UnicodeProtocolRegistrations(); // how often it was registered (tests)

// One file opened through the unicode callbacks.
struct TUnicodeFile {
    int Handle = -1;
};

// flags are the libraries' AVIO_FLAG_*: read-write and write-only create or
// truncate the file, anything else opens an existing file for reading.
// -1 when it cannot be opened.
int OpenUnicodeFile(const std::string& name, int flags);

// The five callbacks: open gives 0 or the negative system error code (-2: no
// such file); read gives the count, 0 at the end, -1 on failure (errno
// tells why); write gives the count or -1 (errno tells why); seek with
// whence AVSEEK_SIZE gives the size, otherwise the new position, -1 on
// failure; close gives non-zero on success.
int UnicodeOpen(TUnicodeFile& file, const char* libraryName, int flags);
int UnicodeRead(TUnicodeFile& file, uint8_t* buffer, int size);
int UnicodeWrite(TUnicodeFile& file, const uint8_t* buffer, int size);
int64_t UnicodeSeek(TUnicodeFile& file, int64_t position, int whence);
int UnicodeClose(TUnicodeFile& file);

} // namespace media
