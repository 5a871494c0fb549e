#pragma once
// Runs a cleanup when the scope is left, by a return or by an exception:
// written once, where the thing to undo is made, instead of on every way out.
// A cleanup that belongs to the failure paths only is dismissed once the work
// has succeeded.
#include <exception>
#include <utility>

namespace os {

template <class F> class ScopeExit {
public:
    explicit ScopeExit(F cleanup) : cleanup_(std::move(cleanup)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

    // A cleanup that throws on a normal exit reports its failure to the
    // caller.  While another exception is leaving the scope its own is
    // dropped: the first failure is the one to report, and a second
    // exception in flight would end the process.
    ~ScopeExit() noexcept(false) {
        if (!active_) return;
        if (std::uncaught_exceptions() > exceptions_) {
            try {
                cleanup_();
            } catch (...) {
            }
            return;
        }
        cleanup_();
    }

    void Dismiss() noexcept { active_ = false; }

private:
    F cleanup_;
    int exceptions_ = std::uncaught_exceptions();
    bool active_ = true;
};

// Sets a flag for the life of a scope, whatever way the scope is left, and
// gives it back the value it had: scopes of the same flag may nest.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

} // namespace os
