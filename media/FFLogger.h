#pragma once
// Placeholder until the logger lands: the loader installs the library log
// callback through this.
namespace media {
class TFFLogger {
public:
    static void InstallAVLogCallback();
};
} // namespace media
