#include "media/AVApi.h"
#include "media/FFmpegLoader.h"
#include "media/MediaErrors.h"
#include "media/UnicodeProtocol.h"
#include "os/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace media;
namespace fs = std::filesystem;

namespace {

// Debian keeps shared libraries in the folder of the machine's multiarch triplet.
std::string SystemLibrary(const std::string& fileName) {
    const std::string arch = TARVIK_MULTIARCH;
    for (const std::string& dir :
         {"/usr/lib/" + arch + "/", "/lib/" + arch + "/", std::string("/usr/lib/"), std::string("/lib/")})
        if (fs::exists(dir + fileName)) return dir + fileName;
    return {};
}

// A "LibAV" folder holding links to the system's libraries, with some members
// replaced by something else.
struct LibFolder {
    fs::path dir;
    explicit LibFolder(TLibraries libs) {
        dir = fs::temp_directory_path() / ("tarvik-libav-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (int i = 0; i < LibraryCount; ++i) {
            auto lib = static_cast<TLibrary>(i);
            if (!libs.Has(lib)) continue;
            std::string name = TFFmpegLoader::LibraryFileName(lib);
            std::string src = SystemLibrary(name);
            if (!src.empty()) fs::create_symlink(src, dir / name);
        }
    }
    void Break(TLibrary lib) {
        fs::path p = dir / TFFmpegLoader::LibraryFileName(lib);
        fs::remove(p);
        std::ofstream(p) << "this is not a shared object";
    }
    void ReplaceWith(TLibrary lib, const std::string& systemFile) {
        fs::path p = dir / TFFmpegLoader::LibraryFileName(lib);
        fs::remove(p);
        fs::create_symlink(SystemLibrary(systemFile), p);
    }
    ~LibFolder() { fs::remove_all(dir); }
};

} // namespace

TEST(Loader, FileNamesFollowTheLinuxSonames) {
    EXPECT_EQ(TFFmpegLoader::LibraryFileName(TLibrary::avCodec), "libavcodec.so.59");
    EXPECT_EQ(TFFmpegLoader::LibraryFileName(TLibrary::avFilter), "libavfilter.so.8");
    EXPECT_EQ(TFFmpegLoader::LibraryFileName(TLibrary::swResample), "libswresample.so.4");
    EXPECT_EQ(TFFmpegLoader::LibraryFileName(TLibrary::myUtil), "libc.so.6");
    EXPECT_EQ(TFFmpegLoader::LibraryFileName(TLibrary::lbSDL), "libSDL-1.2.so.0");
}

TEST(Loader, ConverterSetLoadsFromTheSystemAndBindsItsEntryPoints) {
    auto& L = FFLoader();
    L.SetLibraryPath("");
    ASSERT_TRUE(L.Load(ConverterLibraries)) << L.LastErrMsg();
    EXPECT_TRUE(L.Loaded(ConverterLibraries));
    EXPECT_FALSE(L.Loaded(TLibrary::lbSDL));
    ASSERT_NE(av::avcodec_version, nullptr);
    EXPECT_EQ(av::avcodec_version() >> 16, 59u);
    EXPECT_NE(av::avcodec_find_decoder_by_name("h264"), nullptr);
    L.Unload(ConverterLibraries);
    EXPECT_FALSE(L.Loaded(TLibrary::avCodec));
    EXPECT_EQ(av::avcodec_version, nullptr);
}

TEST(Loader, BrokenMemberInTheFolderFailsTheWholeSet) {
    LibFolder folder(ConverterLibraries);
    folder.Break(TLibrary::avFilter);
    std::string cwd = os::CurrentDirectory();
    auto& L = FFLoader();
    L.SetLibraryPath(folder.dir.string());
    EXPECT_FALSE(L.Load(ConverterLibraries));
    std::string want = "Load library " + (folder.dir / "libavfilter.so.8").string() + " error: ";
    EXPECT_EQ(L.LastErrMsg().rfind(want, 0), 0u) << L.LastErrMsg();
    EXPECT_GT(L.LastErrMsg().size(), want.size()); // the system's reason follows
    for (TLibrary lib : {TLibrary::avCodec, TLibrary::avFilter, TLibrary::avFormat, TLibrary::avUtil})
        EXPECT_FALSE(L.Loaded(lib));
    EXPECT_EQ(av::avcodec_open2, nullptr);
    EXPECT_EQ(os::CurrentDirectory(), cwd);
    // The folder went to the front of PATH, once.
    std::string path = std::getenv("PATH");
    EXPECT_EQ(path.rfind(folder.dir.string() + ":", 0), 0u);
    L.Load(ConverterLibraries);
    EXPECT_EQ(std::string(std::getenv("PATH")), path);
}

TEST(Loader, MissingEntryPointNamesFunctionAndFile) {
    LibFolder folder(ConverterLibraries);
    folder.ReplaceWith(TLibrary::swScale, "libz.so.1");
    auto& L = FFLoader();
    L.SetLibraryPath(folder.dir.string());
    EXPECT_FALSE(L.Load(ConverterLibraries));
    EXPECT_EQ(L.LastErrMsg().rfind("Load function sws_", 0), 0u) << L.LastErrMsg();
    EXPECT_NE(L.LastErrMsg().find("@libswscale.so.6 error: "), std::string::npos) << L.LastErrMsg();
    EXPECT_FALSE(L.Loaded(TLibrary::swScale));
    EXPECT_FALSE(L.Loaded(TLibrary::avCodec));
}

TEST(Loader, PlayerSetFailingAtSdlUnloadsWhatTheConverterHadLoaded) {
    LibFolder folder(PlayerLibraries);
    folder.Break(TLibrary::lbSDL);
    auto& L = FFLoader();
    L.SetLibraryPath(folder.dir.string());
    ASSERT_TRUE(L.Load(ConverterLibraries)) << L.LastErrMsg();
    EXPECT_FALSE(L.Load(PlayerLibraries));
    EXPECT_NE(L.LastErrMsg().find("libSDL-1.2.so.0 error: "), std::string::npos);
    EXPECT_FALSE(L.Loaded(ConverterLibraries));
}

TEST(Loader, VariablesBindByNameOrFailWithTheVariableText) {
    std::string err;
    os::LibHandle libc = LoadLibraryFrom("", "libc.so.6", err);
    ASSERT_NE(libc, nullptr) << err;
    void* slot = nullptr;
    BindVariable(libc, "libc.so.6", "environ", &slot);
    EXPECT_NE(slot, nullptr);
    try {
        BindVariable(libc, "libc.so.6", "no_such_variable", &slot);
        FAIL();
    } catch (const FFmpegException& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Load variable no_such_variable@libc.so.6 error: ", 0), 0u);
    }
    os::FreeLib(libc);
}

TEST(Loader, EmptySetIsAProgrammingError) {
    EXPECT_THROW(FFLoader().Load(TLibraries{}), EAssertionFailed);
    EXPECT_THROW(FFLoader().Loaded(TLibraries{}), EAssertionFailed);
    EXPECT_THROW(FFLoader().Unload(TLibraries{}), EAssertionFailed);
}

TEST(Loader, LoadingAvformatTwiceRegistersTheUnicodeProtocolOnce) {
    auto& L = FFLoader();
    L.SetLibraryPath("");
    int before = UnicodeProtocolRegistrations();
    ASSERT_TRUE(L.Load(ProbeLibraries));
    ASSERT_TRUE(L.Load(TLibrary::avFormat));
    EXPECT_EQ(UnicodeProtocolRegistrations(), before + 1);
}
