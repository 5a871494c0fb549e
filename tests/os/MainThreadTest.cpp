#include "os/MainThread.h"
#include "os/Thread.h"

#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>

using namespace os;

TEST(MainThread, CallFromWorkerWaitsUntilTheGuiThreadPumps) {
    ASSERT_TRUE(IsMainThread());
    std::atomic<bool> ran{false}, returned{false};
    std::thread::id ranOn;
    std::thread worker([&] {
        CallInMainThread([&] {
            ranOn = std::this_thread::get_id();
            ran = true;
        });
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(ran);
    EXPECT_FALSE(returned); // blocked until we pump
    while (!CheckSynchronize(1000)) {
    }
    worker.join();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(returned);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(MainThread, CallOnGuiThreadRunsDirectlyAndErrorsReachTheCaller) {
    bool ran = false;
    CallInMainThread([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_FALSE(CheckSynchronize(0)); // nothing went through the queue

    std::string caught;
    std::thread worker([&] {
        try {
            CallInMainThread([] { throw std::runtime_error("boom"); });
        } catch (const std::exception& e) {
            caught = e.what();
        }
    });
    while (!CheckSynchronize(1000)) {
    }
    worker.join();
    EXPECT_EQ(caught, "boom");
}

TEST(MainThread, WakerIsCalledWhenACallIsQueued) {
    std::atomic<int> wakes{0};
    SetSynchronizeWaker([&] { ++wakes; });
    std::thread worker([] { CallInMainThread([] {}); });
    while (!CheckSynchronize(1000)) {
    }
    worker.join();
    SetSynchronizeWaker(nullptr);
    EXPECT_EQ(wakes.load(), 1);
}
