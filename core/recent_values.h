// The recent-values store: key=value pairs remembered between runs in small
// files under sys/ (last team, player counts, the hotseat line-up).
#pragma once

#include <string>
#include <vector>

struct Trec {
    std::string key;
    std::string value;

    // One list serves every file; a load replaces it.
    static std::vector<Trec> list;

    static int clear();
    // Replaces the value of the first record with the key, else appends.
    static int setkey(const std::string& key, const std::string& value);
    static std::string getkey(const std::string& key);
    // "sys/" + file; a file that cannot be written is left alone.
    static int savekeys(const std::string& file);
    // Empties the list, then reads "sys/" + file (missing: stays empty).
    static int loadkeys(const std::string& file);
};
