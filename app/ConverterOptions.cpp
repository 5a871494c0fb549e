#include "app/ConverterOptions.h"

#include "app/AppPaths.h"
#include "app/OptionIni.h"
#include "os/Convert.h"
#include "os/Paths.h"

namespace app {

namespace {

const char* const Options = "Options";

std::string Digit(int value) {
    return std::to_string(value);
}

// The index of `value` among the accepted texts "0", "1", ...; -1 for any other text.
int Choice(const std::string& value, int count) {
    for (int i = 0; i < count; ++i)
        if (value == Digit(i)) return i;
    return -1;
}

} // namespace

TConverterOptions ReadConverterOptions(TOptionIni& ini) {
    TConverterOptions o;
    if (!ini.Exists()) {
        ini.Write(Options, "Thread_Count", "0");
        ini.Write(Options, "After_Done", "0");
        ini.Write(Options, "Show_Preview", "0");
        ini.Write(Options, "Thread_Priority", "3");
        ini.Write(Options, "Overwrite_File", "1");
        return o;
    }
    std::string threads = ini.Read(Options, "Thread_Count");
    int count = 0;
    if (IsMissing(threads))
        ini.Write(Options, "Thread_Count", "0");
    else if (os::TryStrToInt(threads, count) && count >= 1 && count <= MaxThreadCount)
        o.ThreadCount = count;

    int done = Choice(ini.Read(Options, "After_Done"), 4);
    if (done < 0) ini.Write(Options, "After_Done", "0");
    o.AfterDone = static_cast<TAfterDone>(done < 0 ? 0 : done);

    int priority = Choice(ini.Read(Options, "Thread_Priority"), 4);
    if (priority < 0) ini.Write(Options, "Thread_Priority", "3");
    o.Priority = static_cast<TThreadPriority>(priority < 0 ? 3 : priority);

    int overwrite = Choice(ini.Read(Options, "Overwrite_File"), 2);
    if (overwrite < 0) ini.Write(Options, "Overwrite_File", "1");
    o.OverwriteFile = overwrite == 0;

    int preview = Choice(ini.Read(Options, "Show_Preview"), 2);
    if (preview < 0) ini.Write(Options, "Show_Preview", "0");
    o.ShowPreview = preview == 1;
    return o;
}

void WriteConverterOptions(TOptionIni& ini, const TConverterOptions& o) {
    ini.Write(Options, "Thread_Count", Digit(o.ThreadCount));
    ini.Write(Options, "After_Done", Digit(static_cast<int>(o.AfterDone)));
    ini.Write(Options, "Show_Preview", o.ShowPreview ? "1" : "0");
    ini.Write(Options, "Thread_Priority", Digit(static_cast<int>(o.Priority)));
    ini.Write(Options, "Overwrite_File", o.OverwriteFile ? "0" : "1");
}

std::string ReadOutputFolder(TOptionIni& ini) {
    if (ini.Exists()) {
        std::string stored = ini.Read("OutPath", "OutPath");
        if (!IsMissing(stored)) {
            if (!os::DirectoryExists(stored)) os::ForceDirectories(stored);
            return stored;
        }
    }
    std::string folder = DefaultOutputFolder();
    if (!os::DirectoryExists(folder)) os::ForceDirectories(folder);
    ini.Write("OutPath", "OutPath", folder);
    return folder;
}

void WriteOutputFolder(TOptionIni& ini, const std::string& folder) {
    if (!folder.empty() && os::DirectoryExists(folder)) ini.Write("OutPath", "OutPath", folder);
}

int ReadSkinIndex(TOptionIni& ini) {
    std::string stored = ini.Exists() ? ini.Read("Skin", "SetSkin") : std::string();
    if (!IsMissing(stored)) {
        int index = 0;
        if (os::TryStrToInt(stored, index)) return index;
        ini.Log("***option.ini: SetSkin \"" + stored + "\" is not a skin index, skin 0 is used.");
    }
    ini.Write("Skin", "SetSkin", "0");
    return 0;
}

void WriteSkinIndex(TOptionIni& ini, int index) {
    ini.Write("Skin", "SetSkin", std::to_string(index));
}

} // namespace app
