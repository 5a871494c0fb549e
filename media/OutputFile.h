#pragma once
// One output file of a conversion as the file system sees it.  The engine
// opens an output for writing only when its run starts, never over one of
// the run's own inputs, and afterwards removes only what the run made: a
// file it created that stayed empty or whose run did not get to its end, or
// a file whose writing failed.  A device, a FIFO, a socket, a symbolic link
// (or what it points to) and a file that was there before the run are never
// removed for being empty or cut short.
#include <string>
#include <sys/types.h>

namespace media {

class TOutputFile {
public:
    // The local path that a library-side name stands for: the "unicode:utf8:"
    // and "file:" forms resolved, other names as they are; empty for a name
    // of another protocol ("pipe:1", "http://...").
    static std::string LocalPath(const std::string& ALibraryName);
    // 0, or the negative system error code (AVERROR) that opening the path
    // for writing would meet, as far as it shows without creating or
    // changing anything: a missing or unwritable folder, a read-only file, a
    // folder in the file's place, a name too long.
    static int CheckWritable(const std::string& APath);
    // Both paths name one existing file: the same device and inode, whatever
    // way the names reach it ("./", "//", symbolic or hard links).
    static bool SameFile(const std::string& APath1, const std::string& APath2);

    // Call just before the output is opened for writing, and once it opened.
    void BeforeOpen(const std::string& APath);
    void Opened();
    bool IsOpened() const { return opened_; }

    // Removes a regular file that this run created and that is still empty.
    bool RemoveIfCreatedAndEmpty();
    // Removes a regular file that this run created, whatever it holds.
    bool RemoveIfCreated();
    // 0 while the path still names the regular file that was opened (and for
    // what is no regular file), else why it does not (a negative AVERROR):
    // the system's reason it is not found, or ESTALE for another file now
    // standing at the name.
    int Standing() const;
    // Removes the regular file that was opened (its writing failed, so what
    // it holds is a fragment), also when it existed before the run.
    bool RemoveFragment();

private:
    // The path names a regular file, and the same one that was opened.
    bool StillTheOpenedFile(off_t& ASize) const;

    std::string path_;
    bool existed_ = true;
    bool opened_ = false;
    bool regular_ = false;
    dev_t dev_ = 0;
    ino_t ino_ = 0;
};

} // namespace media
