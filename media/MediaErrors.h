#pragma once
// Errors of the media components.
#include <stdexcept>
#include <string>

namespace media {

// Hard errors of the transcoder engine; each task catches them into its
// termination record.
class FFmpegException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Internal consistency checks, naming the module that found the fault.
class EAssertionFailed : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

[[noreturn]] inline void AssertionFailure(const char* module) {
    throw EAssertionFailed(std::string("Assertion failure (") + module + ")");
}

// A check that carries its own text, written "<text> (<module>)".
[[noreturn]] inline void AssertionFailure(const char* module, const std::string& text) {
    throw EAssertionFailed(text + " (" + module + ")");
}

inline void Check(bool condition, const char* module) {
    if (!condition) AssertionFailure(module);
}

} // namespace media
