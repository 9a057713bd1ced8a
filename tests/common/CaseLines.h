#pragma once
// Case files under tests/data: one case a line, fields separated by TAB
// characters; blank lines and lines starting with "#" are left out.

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qmtest {

struct CaseLine
{
    int number; // line number in the file, for failure messages
    std::vector<std::string> fields;
};

// The cases of QM_TEST_DATA_DIR/<path>; empty when the file cannot be read.
inline std::vector<CaseLine> ReadCaseLines(const std::string& path)
{
    std::vector<CaseLine> cases;
    std::ifstream in(std::string(QM_TEST_DATA_DIR) + "/" + path);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        CaseLine c{number, {}};
        std::stringstream ss(line);
        std::string field;
        while (std::getline(ss, field, '\t'))
            c.fields.push_back(field);
        cases.push_back(c);
    }
    return cases;
}

} // namespace qmtest
