#pragma once
// A private X server for one test program: Xvfb picks a free display number
// itself and says it through -displayfd once it accepts connections.
#include <string>
#include <sys/types.h>

class XvfbServer {
public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    static bool Installed();
    bool Running() const { return !name_.empty(); }
    const std::string& Name() const { return name_; } // ":N"
    const std::string& Error() const { return error_; }

private:
    pid_t pid_ = -1;
    std::string name_, error_;
};
