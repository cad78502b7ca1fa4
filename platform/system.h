// System services: the millisecond clock, delays, date and time, dialogs,
// opening a URL, the command line and ending the program. The clock, the date
// and the end of the program can be replaced by tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Milliseconds since some fixed point (wraps like a 32-bit int), monotonic:
// never steps back when the wall clock is set.
int MilliSecs();
// Sleeps; 0 or less returns at once.
void Delay(int millis);
// Local date and time: "08 Dec 2026" and "14:05:09" (English month names
// whatever the locale).
std::string CurrentDate();
std::string CurrentTime();

// Message box; on the console (stderr) when no window is open. A serious
// message shows as an error, otherwise as information (Notify) or a warning.
void Notify(const std::string& text, bool serious = false);
// Yes/No: 1 yes, 0 no. Without a window the default answer is given.
int Confirm(const std::string& text, bool serious = false);
// Yes/No/Cancel: 1, 0, -1. Without a window the default answer is given.
int Proceed(const std::string& text, bool serious = false);
// The answer given without a window (0 at start), and the button Return picks
// in a real dialog. Confirm gives 1 only for a default of 1, else 0.
void SetDialogDefault(int answer);

// Opens an http:// or https:// URL in the user's browser without waiting for
// it. Any other scheme, or a URL with control characters or blanks, is refused.
bool OpenURL(const std::string& url);

// Ends the program with the exit code (0 for a normal quit, 1 after a failure
// the player was told about) after closing the window and audio.
// With an end hook set the hook runs instead of exit; should it return,
// the program exits all the same.
[[noreturn]] void End(int code = 0);

// Command line (argument 0 is the program path) and the program's folder
// (without a trailing "/"; the current folder when it cannot be found).
void SetAppArgs(int argc, char** argv);
const std::vector<std::string>& AppArgs();
std::string AppDir();

// Test seams.
void SetClockSource(std::function<int()> clock);          // null restores the real clock
void SetDelayHook(std::function<void(int)> delay);        // null restores sleeping
// For CurrentDate/CurrentTime: the local wall-clock time as seconds counted
// from 1 Jan 1970 00:00:00 as though local time were UTC (so a test's chosen
// time reads the same in every time zone); null restores the real clock.
void SetDateSource(std::function<long long()> seconds);
// Called by End instead of exiting (a test may throw from it); null restores.
void SetEndHook(std::function<void()> hook);
// Called by OpenURL for an accepted URL instead of starting the browser; its
// result is OpenURL's. Null restores the browser.
void SetOpenURLHook(std::function<bool(const std::string&)> hook);
