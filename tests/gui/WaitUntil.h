#pragma once
// The one way tests wait: the predicate is asked again and again (it may pump work itself)
// until it holds or the deadline passes; then the test fails, saying what never came.
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <thread>

inline ::testing::AssertionResult WaitUntil(const std::function<bool()>& done,
                                            std::chrono::milliseconds timeout, const std::string& what) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return ::testing::AssertionFailure()
                   << "gave up after " << timeout.count() << " ms waiting for " << what;
        std::this_thread::yield();
    }
    return ::testing::AssertionSuccess();
}
