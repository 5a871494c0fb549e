#include "os/ScopeExit.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

using os::ScopeExit;

TEST(ScopeExit, RunsOnReturnAndOnThrowButNotOnceDismissed) {
    int runs = 0;
    {
        ScopeExit g([&] { ++runs; });
    }
    EXPECT_EQ(runs, 1);
    EXPECT_THROW(
        {
            ScopeExit g([&] { ++runs; });
            throw std::runtime_error("step");
        },
        std::runtime_error);
    EXPECT_EQ(runs, 2);
    {
        ScopeExit g([&] { ++runs; });
        g.Dismiss();
    }
    EXPECT_EQ(runs, 2);
    // A failure-only cleanup: dismissed once the work succeeded, run when it threw first.
    auto work = [&](bool fail) {
        ScopeExit undo([&] { ++runs; });
        if (fail) throw std::runtime_error("step");
        undo.Dismiss();
    };
    work(false);
    EXPECT_EQ(runs, 2);
    EXPECT_THROW(work(true), std::runtime_error);
    EXPECT_EQ(runs, 3);
}

TEST(ScopeExit, AThrowingCleanupReportsOnNormalExitAndKeepsTheFirstFailureWhileUnwinding) {
    EXPECT_THROW({ ScopeExit g([] { throw std::logic_error("cleanup"); }); }, std::logic_error);
    std::string caught;
    try {
        ScopeExit g([] { throw std::logic_error("cleanup"); });
        throw std::runtime_error("work");
    } catch (const std::exception& e) {
        caught = e.what();
    }
    EXPECT_EQ(caught, "work");
}
