#pragma once
// Test-only: lets the state-machine tests of the task component run engines
// whose conversion is short and under the test's control.  When a hook is
// set, every conversion runs it in place of the real run; the product never
// sets one.
#include <functional>

namespace media {

class TCustomFFmpeg;

using TTranscodeTestHook = std::function<void(TCustomFFmpeg& AEngine)>;
void SetTranscodeTestHook(TTranscodeTestHook AHook);

} // namespace media
