// The recent-values store: one list of key=value records, saved and loaded
// as CR LF text lines under sys/.
#include "core/recent_values.h"

#include "core/text.h"
#include "platform/files.h"

std::vector<Trec> Trec::list;

int Trec::clear() {
    list.clear();
    return 0;
}

int Trec::setkey(const std::string& key, const std::string& value) {
    for (auto& r : list)
        if (r.key == key) {
            r.value = value;
            return 0;
        }
    list.push_back(Trec{key, value});
    return 0;
}

std::string Trec::getkey(const std::string& key) {
    for (auto& r : list)
        if (r.key == key) return r.value;
    return "";
}

int Trec::savekeys(const std::string& file) {
    std::vector<std::string> lines;
    for (auto& r : list) lines.push_back(r.key + "=" + r.value);
    CreateDir("sys", true);
    SaveLines(lines, "sys/" + file);
    return 0;
}

int Trec::loadkeys(const std::string& file) {
    list.clear();
    BankPtr b = LoadBank("sys/" + file);
    if (!b) return 0;
    std::string text(b->Bytes().begin(), b->Bytes().end());
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        size_t eq2 = line.find('=', eq + 1);
        std::string value = line.substr(eq + 1, eq2 == std::string::npos ? std::string::npos : eq2 - eq - 1);
        setkey(trimstr(line.substr(0, eq)), trimstr(value));
    }
    return 0;
}
