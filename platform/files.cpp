// Files and folders over POSIX: types, listing, whole-file loads and atomic
// saves, and the path helpers.
//
// Saves never leave a half-written file: the bytes go to a temporary file in
// the target's folder (same file system, so the rename is atomic), which is
// flushed to disk and renamed over the target only when every write worked.
// A save through a symbolic link replaces the file the link points at, and
// the replaced file's permission bits carry over.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/incbin.h"

namespace {

const size_t kIncbinPrefixLen = std::strlen(kIncbinPrefix);

bool IsIncbin(const std::string& path) { return path.compare(0, kIncbinPrefixLen, kIncbinPrefix) == 0; }

const IncbinFile* FindIncbin(const std::string& normalized) {
    return IsIncbin(normalized) ? IncbinFind(normalized.substr(kIncbinPrefixLen)) : nullptr;
}

// "a/b/" -> "a/b"; the root stays "/".
std::string TrimSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        data += n;
        size -= (size_t)n;
    }
    return true;
}

// The file a save to path lands in: path itself, or the end of its chain of
// symbolic links (which need not exist yet), so that a linked settings file
// stays a link to the updated file. Empty for a loop or an unreadable link.
std::string SaveTarget(std::string path) {
    for (int hop = 0; hop < 40; hop++) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string link(PATH_MAX, '\0');
        ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0 || (size_t)n >= link.size()) return "";
        link.resize((size_t)n);
        // A relative link is relative to the folder the link lies in.
        if (link[0] != '/') {
            size_t slash = path.find_last_of('/');
            if (slash != std::string::npos) link = path.substr(0, slash + 1) + link;
        }
        path = link;
    }
    return "";
}

// Writes bytes to path through a temporary file beside the file it lands in.
// The result keeps the permission bits of the file it replaces; a new file
// gets new_mode (less the umask).
bool SaveAtomically(const std::string& path, const uint8_t* data, size_t size, int new_mode) {
    std::string target = NormalizePath(path);
    if (target.empty() || IsIncbin(target) || target.back() == '/') return false;
    target = SaveTarget(target);
    if (target.empty() || FileType(target) == FILETYPE_DIR) return false;
    struct stat old_st;
    const bool replacing = ::stat(target.c_str(), &old_st) == 0;
    // Saves run on several threads at once in the asset generator.
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; attempt++) {
        temp = target + ".tmp" + std::to_string((long)getpid()) + "_" + std::to_string(counter++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, (mode_t)(new_mode & 0777));
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = WriteAll(fd, data, size);
    if (ok && replacing && ::fchmod(fd, old_st.st_mode & 07777) != 0) ok = false;
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

bool DeleteTree(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode)) return ::unlink(path.c_str()) == 0;
    // Symbolic links are removed, never followed (lstat above).
    for (const std::string& name : LoadDir(path))
        if (!DeleteTree(path + "/" + name)) return false;
    return ::rmdir(path.c_str()) == 0;
}

}  // namespace

std::string NormalizePath(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

int FileType(const std::string& path) {
    std::string p = NormalizePath(path);
    if (IsIncbin(p)) return FindIncbin(p) ? FILETYPE_FILE : FILETYPE_NONE;
    if (p.empty()) return FILETYPE_NONE;
    struct stat st;
    if (::stat(TrimSlashes(p).c_str(), &st) != 0) return FILETYPE_NONE;
    if (S_ISDIR(st.st_mode)) return FILETYPE_DIR;
    if (S_ISREG(st.st_mode)) return FILETYPE_FILE;
    return FILETYPE_NONE;
}

int64_t FileSize(const std::string& path) {
    std::string p = NormalizePath(path);
    if (IsIncbin(p)) {
        const IncbinFile* f = FindIncbin(p);
        return f ? (int64_t)f->size : -1;
    }
    struct stat st;
    if (p.empty() || ::stat(TrimSlashes(p).c_str(), &st) != 0) return -1;
    return S_ISDIR(st.st_mode) ? 0 : (int64_t)st.st_size;
}

int64_t FileTime(const std::string& path) {
    std::string p = NormalizePath(path);
    struct stat st;
    if (p.empty() || IsIncbin(p) || ::stat(TrimSlashes(p).c_str(), &st) != 0) return 0;
    return (int64_t)st.st_mtime;
}

bool CreateDir(const std::string& path, bool recurse) {
    std::string p = TrimSlashes(NormalizePath(path));
    if (p.empty() || IsIncbin(p)) return false;
    if (FileType(p) == FILETYPE_DIR) return true;
    if (recurse) {
        size_t slash = p.find_last_of('/');
        if (slash != std::string::npos && slash > 0) {
            std::string parent = p.substr(0, slash);
            if (FileType(parent) != FILETYPE_DIR && !CreateDir(parent, true)) return false;
        }
    }
    return ::mkdir(p.c_str(), 0777) == 0 || (errno == EEXIST && FileType(p) == FILETYPE_DIR);
}

bool DeleteDir(const std::string& path, bool recurse) {
    std::string p = TrimSlashes(NormalizePath(path));
    if (p.empty() || IsIncbin(p) || FileType(p) != FILETYPE_DIR) return false;
    if (recurse) return DeleteTree(p);
    return ::rmdir(p.c_str()) == 0;
}

bool DeleteFile(const std::string& path) {
    std::string p = NormalizePath(path);
    if (p.empty() || IsIncbin(p) || FileType(p) != FILETYPE_FILE) return false;
    return ::unlink(p.c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
    std::string f = NormalizePath(from), t = NormalizePath(to);
    if (f.empty() || t.empty() || IsIncbin(f) || IsIncbin(t)) return false;
    return std::rename(f.c_str(), t.c_str()) == 0;
}

bool CopyFile(const std::string& from, const std::string& to) {
    BankPtr bank = LoadBank(from);
    return bank && SaveBank(*bank, to);
}

std::vector<std::string> LoadDir(const std::string& path) {
    std::vector<std::string> names;
    std::string p = NormalizePath(path);
    if (IsIncbin(p)) return names;
    if (p.empty()) p = ".";
    DIR* dir = ::opendir(p.c_str());
    if (!dir) return names;
    while (struct dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    // std::string compares bytes as unsigned values, like memcmp.
    std::sort(names.begin(), names.end());
    return names;
}

std::string CurrentDir() {
    std::vector<char> buf(PATH_MAX + 1);
    if (!::getcwd(buf.data(), buf.size())) return "";
    return buf.data();
}

bool ChangeDir(const std::string& path) {
    std::string p = NormalizePath(path);
    return !p.empty() && !IsIncbin(p) && ::chdir(p.c_str()) == 0;
}

std::string RealPath(const std::string& path) {
    std::string p = NormalizePath(path);
    if (IsIncbin(p)) return p;
    if (p.empty()) p = ".";
    if (char* resolved = ::realpath(p.c_str(), nullptr)) {
        std::string out = resolved;
        std::free(resolved);
        return out;
    }
    // Not there (yet): resolve "." and ".." by hand against the current folder.
    if (p[0] != '/') p = CurrentDir() + "/" + p;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= p.size()) {
        size_t end = p.find('/', start);
        if (end == std::string::npos) end = p.size();
        std::string part = p.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& part : parts) out += "/" + part;
    return out.empty() ? "/" : out;
}

BankPtr LoadBank(const std::string& path) {
    std::string p = NormalizePath(path);
    try {
        if (IsIncbin(p)) {
            const IncbinFile* f = FindIncbin(p);
            if (!f) return nullptr;
            return std::make_shared<Bank>(f->data, (size_t)f->size);
        }
        if (FileType(p) != FILETYPE_FILE) return nullptr;
        FILE* file = std::fopen(p.c_str(), "rbe");
        if (!file) return nullptr;
        auto bank = std::make_shared<Bank>();
        auto& bytes = bank->Bytes();
        // Read to the end rather than trusting the size reported beforehand.
        uint8_t chunk[65536];
        size_t n;
        bool ok = true;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
            try {
                bytes.insert(bytes.end(), chunk, chunk + n);
            } catch (const std::bad_alloc&) {
                ok = false;
                break;
            }
        }
        if (std::ferror(file)) ok = false;
        std::fclose(file);
        if (!ok) return nullptr;
        bytes.shrink_to_fit();
        return bank;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool SaveBank(const Bank& bank, const std::string& path, int new_mode) {
    return SaveAtomically(path, bank.Buf(), bank.Size(), new_mode);
}

bool SaveLines(const std::vector<std::string>& lines, const std::string& path) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return SaveAtomically(path, (const uint8_t*)text.data(), text.size(), 0666);
}

std::string ExtractDir(const std::string& path) {
    std::string p = NormalizePath(path);
    size_t slash = p.find_last_of('/');
    if (slash == std::string::npos) return "";
    if (slash == 0) return "/";
    return p.substr(0, slash);
}

std::string StripDir(const std::string& path) {
    std::string p = NormalizePath(path);
    size_t slash = p.find_last_of('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string ExtractExt(const std::string& path) {
    std::string p = NormalizePath(path);
    size_t dot = p.find_last_of('.');
    size_t slash = p.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return p.substr(dot + 1);
}

std::string StripExt(const std::string& path) {
    std::string p = NormalizePath(path);
    size_t dot = p.find_last_of('.');
    size_t slash = p.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return p;
    return p.substr(0, dot);
}

std::string StripAll(const std::string& path) { return StripExt(StripDir(path)); }
