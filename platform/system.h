// System services: the millisecond clock, delays, date and time, dialogs,
// opening a URL, the command line and ending the program. The clock, the date
// and the end of the program can be replaced by tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Milliseconds since some fixed point (wraps like a 32-bit int).
int MilliSecs();
void Delay(int millis);
// "08 Dec 2026" and "14:05:09".
std::string CurrentDate();
std::string CurrentTime();

// Message box; on the console (stderr) when no window is open.
void Notify(const std::string& text, bool serious = false);
// Yes/No: 1 yes, 0 no. Without a window the default answer is given.
int Confirm(const std::string& text, bool serious = false);
// Yes/No/Cancel: 1, 0, -1. Without a window the default answer is given.
int Proceed(const std::string& text, bool serious = false);
void SetDialogDefault(int answer);

bool OpenURL(const std::string& url);

// Ends the program (exit code 0) after closing the window and audio.
[[noreturn]] void End();

// Command line (argument 0 is the program path) and the program's folder.
void SetAppArgs(int argc, char** argv);
const std::vector<std::string>& AppArgs();
std::string AppDir();

// Test seams.
void SetClockSource(std::function<int()> clock);          // null restores the real clock
void SetDelayHook(std::function<void(int)> delay);        // null restores sleeping
// Seconds since the epoch in local time for CurrentDate/CurrentTime; null restores.
void SetDateSource(std::function<long long()> seconds);
// Called by End instead of exiting (a test may throw from it); null restores.
void SetEndHook(std::function<void()> hook);
