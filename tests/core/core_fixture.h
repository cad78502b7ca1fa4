// Shared seams for the start-up, main-loop and catalogue tests: a clock that
// only moves when the program sleeps (or a test says so), End turned into an
// exception, and the message boxes caught from the console.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/system.h"

// Thrown by End while a ProgramSeams object lives.
struct ProgramEnded {};

class ProgramSeams {
public:
    // The clock starts at `start`; every Delay moves it on by its length.
    explicit ProgramSeams(int start = 100000) : now(start) {
        SetClockSource([this] { return now; });
        SetDelayHook([this](int ms) {
            now += ms;
            delays++;
        });
        SetEndHook([] { throw ProgramEnded{}; });
    }
    ~ProgramSeams() {
        SetClockSource(nullptr);
        SetDelayHook(nullptr);
        SetEndHook(nullptr);
        SetDateSource(nullptr);
    }
    ProgramSeams(const ProgramSeams&) = delete;
    ProgramSeams& operator=(const ProgramSeams&) = delete;

    int now;
    int delays = 0;
};

// Runs f; returns what it printed on the console (where message boxes go
// without a window) and whether it ended the program.
template <class F>
std::string console_of(F f, bool* ended = nullptr) {
    testing::internal::CaptureStderr();
    bool did_end = false;
    try {
        f();
    } catch (const ProgramEnded&) {
        did_end = true;
    }
    std::string text = testing::internal::GetCapturedStderr();
    if (ended) *ended = did_end;
    return text;
}
