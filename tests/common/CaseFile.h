#pragma once
// Case files for table-driven tests: one case a line under tests/data/, its
// fields separated by TAB. Blank lines and lines starting with "# " are
// skipped (so a case may begin with "#", as a hex colour does). Inside a field "(empty)" stands for the empty text, and \t, \r,
// \n and \\ for a TAB, a carriage return, a line feed and a backslash.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qmtest {

struct CaseLine
{
    int line = 0;
    std::vector<std::string> fields;
};

inline std::string DecodeCaseField(const std::string& field)
{
    if (field == "(empty)")
        return std::string();
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char c = field[++i];
        out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
    return out;
}

// The cases of tests/data/<path>; a line with another number of fields than
// fieldCount is reported as a test failure and left out.
inline std::vector<CaseLine> ReadCaseFile(const std::string& path, size_t fieldCount)
{
    std::vector<CaseLine> cases;
    std::ifstream in(std::string(QM_TEST_DATA_DIR) + "/" + path);
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (text.empty() || text.rfind("# ", 0) == 0)
            continue;
        CaseLine c;
        c.line = number;
        std::stringstream ss(text);
        std::string field;
        while (std::getline(ss, field, '\t'))
            c.fields.push_back(DecodeCaseField(field));
        if (c.fields.size() != fieldCount) {
            ADD_FAILURE() << path << " line " << number << " does not hold " << fieldCount << " fields";
            continue;
        }
        cases.push_back(c);
    }
    return cases;
}

} // namespace qmtest
