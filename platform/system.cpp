// System services: clock, delay, date and time, dialogs, URLs, command line, End.
//
// Every service here has a seam (clock, delay, date source, end hook, URL
// hook) so that tests never wait, never depend on the day or the time zone,
// never leave the process and never start a browser. The seams are plain
// globals: like the rest of the platform layer, this runs on the main thread.
#include "platform/system.h"

#include <SDL.h>
#include <errno.h>
#include <limits.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/audio.h"
#include "platform/graphics.h"

extern char** environ;

namespace {

std::function<int()> s_clock;
std::function<void(int)> s_delay;
std::function<long long()> s_date;
std::function<void()> s_end;
std::function<bool(const std::string&)> s_open_url;
int s_dialog_default = 0;
std::vector<std::string> s_args;
std::vector<pid_t> s_browsers;   // started browsers not yet reaped

long long RealLocalSeconds() {
    time_t now = time(nullptr);
    struct tm local;
    if (!localtime_r(&now, &local)) return (long long)now;
    // timegm reads the broken-down local time as UTC: local wall-clock seconds.
    return (long long)timegm(&local);
}

bool LocalTm(struct tm& out) {
    long long secs = s_date ? s_date() : RealLocalSeconds();
    time_t t = (time_t)secs;
    return gmtime_r(&t, &out) != nullptr;
}

// Our text is Latin-1; SDL and terminals want UTF-8.
std::string Utf8(const std::string& latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (unsigned char c : latin1) {
        if (c < 0x80) {
            out += (char)c;
        } else {
            out += (char)(0xC0 | (c >> 6));
            out += (char)(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string DialogTitle() {
    std::string title = AppTitle();
    if (title.empty() && !s_args.empty()) {
        title = s_args[0];
        size_t slash = title.find_last_of('/');
        if (slash != std::string::npos) title.erase(0, slash + 1);
    }
    return Utf8(title);
}

SDL_Window* DialogParent() { return SDL_GL_GetCurrentWindow(); }

// A real dialog with buttons {id, label}; returns the chosen id, or `fallback`
// when no box could be shown. Return picks the dialog default, Escape `escape`.
int ShowButtons(const std::string& text, bool serious, Uint32 kind, const std::vector<std::pair<int, const char*>>& buttons,
                int escape, int fallback) {
    if (!GraphicsWindowOpen()) return fallback;
    std::vector<SDL_MessageBoxButtonData> data;
    for (const auto& b : buttons) {
        SDL_MessageBoxButtonData d{};
        d.buttonid = b.first;
        d.text = b.second;
        if (b.first == s_dialog_default) d.flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (b.first == escape) d.flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        data.push_back(d);
    }
    std::string title = DialogTitle();
    std::string message = Utf8(text);
    SDL_MessageBoxData box{};
    box.flags = (serious ? (Uint32)SDL_MESSAGEBOX_ERROR : kind) | (Uint32)SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.window = DialogParent();
    box.title = title.c_str();
    box.message = message.c_str();
    box.numbuttons = (int)data.size();
    box.buttons = data.data();
    int chosen = fallback;
    if (SDL_ShowMessageBox(&box, &chosen) < 0) return fallback;
    return chosen;
}

void ReapBrowsers() {
    for (size_t i = 0; i < s_browsers.size();) {
        pid_t r = waitpid(s_browsers[i], nullptr, WNOHANG);
        if (r == 0) {
            ++i;
        } else {
            s_browsers[i] = s_browsers.back();
            s_browsers.pop_back();
        }
    }
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
    size_t n = std::strlen(prefix);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        char c = s[i];
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

int MilliSecs() {
    if (s_clock) return s_clock();
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = (uint64_t)ts.tv_sec * 1000u + (uint64_t)ts.tv_nsec / 1000000u;
    return (int)(uint32_t)ms;
}

void Delay(int millis) {
    if (s_delay) {
        s_delay(millis);
        return;
    }
    if (millis <= 0) return;
    struct timespec left;
    left.tv_sec = millis / 1000;
    left.tv_nsec = (long)(millis % 1000) * 1000000L;
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

std::string CurrentDate() {
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    struct tm t;
    if (!LocalTm(t)) return "01 Jan 1970";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d %s %04d", t.tm_mday, kMonths[t.tm_mon % 12], t.tm_year + 1900);
    return buf;
}

std::string CurrentTime() {
    struct tm t;
    if (!LocalTm(t)) return "00:00:00";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

void Notify(const std::string& text, bool serious) {
    if (GraphicsWindowOpen()) {
        std::string title = DialogTitle();
        std::string message = Utf8(text);
        Uint32 kind = serious ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
        if (SDL_ShowSimpleMessageBox(kind, title.c_str(), message.c_str(), DialogParent()) == 0) return;
    }
    std::fprintf(stderr, "%s%s\n", serious ? "Error: " : "", Utf8(text).c_str());
}

int Confirm(const std::string& text, bool serious) {
    int fallback = s_dialog_default == 1 ? 1 : 0;
    if (GraphicsWindowOpen()) {
        int r = ShowButtons(text, serious, SDL_MESSAGEBOX_WARNING, {{1, "Yes"}, {0, "No"}}, 0, -2);
        if (r != -2) return r == 1 ? 1 : 0;   // closing the box counts as No
    }
    std::fprintf(stderr, "%s [yes/no] -> %s\n", Utf8(text).c_str(), fallback ? "yes" : "no");
    return fallback;
}

int Proceed(const std::string& text, bool serious) {
    int fallback = s_dialog_default > 0 ? 1 : s_dialog_default < 0 ? -1 : 0;
    if (GraphicsWindowOpen()) {
        int r = ShowButtons(text, serious, SDL_MESSAGEBOX_WARNING, {{1, "Yes"}, {0, "No"}, {-1, "Cancel"}}, -1, -2);
        if (r != -2) return r;   // closing the box gives -1: Cancel
    }
    static const char* const kWords[3] = {"cancel", "no", "yes"};
    std::fprintf(stderr, "%s [yes/no/cancel] -> %s\n", Utf8(text).c_str(), kWords[fallback + 1]);
    return fallback;
}

void SetDialogDefault(int answer) { s_dialog_default = answer; }

bool OpenURL(const std::string& url) {
    if (!StartsWithNoCase(url, "http://") && !StartsWithNoCase(url, "https://")) return false;
    for (unsigned char c : url)
        if (c <= 0x20 || c == 0x7F) return false;
    if (s_open_url) return s_open_url(url);
    ReapBrowsers();
    // No shell: the URL reaches xdg-open as one argument, whatever it holds.
    std::string arg = url;
    char prog[] = "xdg-open";
    char* argv[] = {prog, arg.data(), nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, prog, nullptr, nullptr, argv, environ) != 0) return false;
    s_browsers.push_back(pid);
    return true;
}

void End(int code) {
    EndGraphics();
    CloseAudio();
    ReapBrowsers();
    if (s_end) s_end();
    std::exit(code);
}

void SetAppArgs(int argc, char** argv) {
    s_args.clear();
    for (int i = 0; i < argc && argv && argv[i]; ++i) s_args.emplace_back(argv[i]);
}

const std::vector<std::string>& AppArgs() { return s_args; }

std::string AppDir() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string path;
    if (n > 0) {
        path.assign(buf, (size_t)n);
    } else if (!s_args.empty()) {
        char real[PATH_MAX];
        if (realpath(s_args[0].c_str(), real)) path = real;
    }
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        if (getcwd(buf, sizeof buf)) return buf;
        return ".";
    }
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

void SetClockSource(std::function<int()> clock) { s_clock = std::move(clock); }
void SetDelayHook(std::function<void(int)> delay) { s_delay = std::move(delay); }
void SetDateSource(std::function<long long()> seconds) { s_date = std::move(seconds); }
void SetEndHook(std::function<void()> hook) { s_end = std::move(hook); }
void SetOpenURLHook(std::function<bool(const std::string&)> hook) { s_open_url = std::move(hook); }
