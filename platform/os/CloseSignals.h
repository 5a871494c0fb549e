#pragma once
// SIGTERM, SIGINT and SIGHUP asking the program to end: while an object of this class lives,
// each of them runs `onSignal` on the GUI thread (through its call queue), where the program
// can close the way its user closes it.  The handlers only write the signal's number into a
// pipe; a thread of this object hands it on.  One object at a time.
#include <functional>
#include <thread>

namespace os {

class CloseSignals {
public:
    explicit CloseSignals(std::function<void(int signal)> onSignal);
    ~CloseSignals(); // the previous handlers come back
    CloseSignals(const CloseSignals&) = delete;
    CloseSignals& operator=(const CloseSignals&) = delete;

private:
    void Watch();

    std::function<void(int)> onSignal_;
    int pipe_[2] = {-1, -1};
    std::thread watcher_;
};

} // namespace os
