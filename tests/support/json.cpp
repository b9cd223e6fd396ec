// A small recursive-descent JSON reader for the test data.
#include "json.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace support {

namespace {

const Json kNullJson;

struct Reader {
    const std::string &s;
    size_t at = 0;
    std::string err;

    void blanks() {
        while (at < s.size() && (s[at] == ' ' || s[at] == '\n' || s[at] == '\r' || s[at] == '\t')) at++;
    }
    bool fail(const char *what) {
        if (err.empty()) err = std::string(what) + " at byte " + std::to_string(at);
        return false;
    }
    bool word(const char *w) {
        const std::string k(w);
        if (s.compare(at, k.size(), k) != 0) return fail("unknown word");
        at += k.size();
        return true;
    }
    bool string(std::string &out) {
        if (at >= s.size() || s[at] != '"') return fail("a string expected");
        for (at++; at < s.size() && s[at] != '"'; at++) {
            if (s[at] != '\\') {
                out += s[at];
                continue;
            }
            if (++at >= s.size()) break;
            const char c = s[at];
            if (c == 'u' && at + 4 < s.size()) {  // a code point below U+0800, as UTF-8
                const unsigned cp = (unsigned)std::strtoul(s.substr(at + 1, 4).c_str(), nullptr, 16);
                at += 4;
                if (cp < 0x80) out += (char)cp;
                else out += (char)(0xC0 | (cp >> 6)), out += (char)(0x80 | (cp & 0x3F));
                continue;
            }
            out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
        }
        if (at >= s.size()) return fail("unterminated string");
        at++;
        return true;
    }
    bool value(Json &v, int depth) {
        if (depth > 64) return fail("nested too deep");
        blanks();
        if (at >= s.size()) return fail("a value expected");
        const char c = s[at];
        if (c == '{' || c == '[') return container(v, depth, c == '{');
        if (c == '"') return v.kind = Json::kString, string(v.text);
        if (c == 't' || c == 'f') return v.kind = Json::kBool, v.number = c == 't', word(c == 't' ? "true" : "false");
        if (c == 'n') return v.kind = Json::kNull, word("null");
        char *end = nullptr;
        v.kind = Json::kNumber;
        v.number = std::strtod(s.c_str() + at, &end);
        if (end == s.c_str() + at) return fail("a value expected");
        at = (size_t)(end - s.c_str());
        return true;
    }
    bool container(Json &v, int depth, bool object) {
        v.kind = object ? Json::kObject : Json::kArray;
        const char close = object ? '}' : ']';
        at++;
        blanks();
        if (at < s.size() && s[at] == close) return ++at, true;
        for (;;) {
            blanks();
            if (object) {
                std::string name;
                if (!string(name)) return false;
                blanks();
                if (at >= s.size() || s[at++] != ':') return fail("':' expected");
                v.members.emplace_back(name, Json());
                if (!value(v.members.back().second, depth + 1)) return false;
            } else {
                v.items.emplace_back();
                if (!value(v.items.back(), depth + 1)) return false;
            }
            blanks();
            if (at < s.size() && s[at] == ',') {
                at++;
                continue;
            }
            if (at < s.size() && s[at] == close) return ++at, true;
            return fail("',' or the container's end expected");
        }
    }
};

}  // namespace

const Json &Json::operator[](const std::string &name) const {
    for (const auto &m : members)
        if (m.first == name) return m.second;
    return kNullJson;
}

const Json &Json::operator[](size_t i) const { return i < items.size() ? items[i] : kNullJson; }

bool ReadJsonFile(const std::string &path, Json &out, std::string &err) {
    std::ifstream in(path);
    if (!in) {
        err = path + ": cannot open the file";
        return false;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string text = ss.str();
    Reader r{text, 0, std::string()};
    out = Json();
    if (!r.value(out, 0)) {
        err = path + ": " + r.err;
        return false;
    }
    return true;
}

std::string RealHostDataDir() { return std::string(TESSARC_SOURCE_DIR) + "/tests/data/realhost"; }

}  // namespace support
