// A small JSON reader for the test data measured in the real host: numbers,
// strings, true/false/null, arrays and objects, read into one tree.
#ifndef TESSARC_TESTS_SUPPORT_JSON_H
#define TESSARC_TESTS_SUPPORT_JSON_H

#include <string>
#include <utility>
#include <vector>

namespace support {

struct Json {
    enum Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = kNull;
    double number = 0;  // kNumber; kBool as 0 or 1
    std::string text;   // kString
    std::vector<Json> items;                            // kArray
    std::vector<std::pair<std::string, Json>> members;  // kObject, in file order

    // The member of that name, or a null value when there is none.
    const Json &operator[](const std::string &name) const;
    // Element i of an array, or a null value beyond its end.
    const Json &operator[](size_t i) const;
    size_t size() const { return kind == kArray ? items.size() : members.size(); }
    bool isNull() const { return kind == kNull; }
};

// Parses a file; false with the reason (and the byte offset) in err.
bool ReadJsonFile(const std::string &path, Json &out, std::string &err);

// The folder of the real host's measured facts in the source tree.
std::string RealHostDataDir();

}  // namespace support

#endif  // TESSARC_TESTS_SUPPORT_JSON_H
