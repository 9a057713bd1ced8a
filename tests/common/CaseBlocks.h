#pragma once
// Block case files for table-driven tests whose input and output span lines
// (markup in, markup out). A file under tests/data/ reads:
//
//   # Lines before the first case are comments; a rewrite keeps them.
//   === an empty cell gets a no-break space [compact]
//   <table><tr><td></td></tr></table>
//   ---
//   <table>...</table>
//
// A case starts with a line "=== " followed by its name; words in square
// brackets at the end of that line are the case's options. The input runs up
// to a line "---", the expected output from there to the next case or the end
// of the file. Each is its lines joined with "\n", empty lines at its end
// left out (so cases may be separated by blank lines); a CR at the end of a
// line is dropped. Everything else is literal: TABs, trailing blanks and
// non-ASCII text stand as they are.
//
// Rewriting the expectations: with QM_UPDATE_CASES=1 in the environment,
// Check records the actual outputs instead of comparing them, and the file is
// rewritten with them when the CaseBlockFile is destroyed. Only a person asks
// for that, and reads the difference before committing it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qmtest {

struct CaseBlock
{
    int line = 0;       // of the "===" line, for failure messages
    std::string header; // the "===" line as written
    std::string name;   // without the options
    std::vector<std::string> options;
    std::string input;
    std::string expected;

    bool HasOption(const std::string& option) const
    {
        for (const std::string& o : options) {
            if (o == option)
                return true;
        }
        return false;
    }

    // The number of an option written "name=N"; fallback without one.
    int IntOption(const std::string& name, int fallback) const
    {
        const std::string prefix = name + "=";
        for (const std::string& o : options) {
            if (o.rfind(prefix, 0) == 0)
                return std::stoi(o.substr(prefix.size()));
        }
        return fallback;
    }
};

class CaseBlockFile
{
public:
    // path is relative to tests/data/. A missing file, or a case without its
    // "---" line, is reported as a test failure.
    explicit CaseBlockFile(const std::string& path) : m_path(path) { Read(); }

    ~CaseBlockFile()
    {
        if (Updating() && m_changed)
            Write();
    }

    CaseBlockFile(const CaseBlockFile&) = delete;
    CaseBlockFile& operator=(const CaseBlockFile&) = delete;

    const std::vector<CaseBlock>& Cases() const { return m_cases; }

    // Whether expectations are being rewritten (QM_UPDATE_CASES=1).
    static bool Updating()
    {
        const char* v = std::getenv("QM_UPDATE_CASES");
        return v && std::string(v) == "1";
    }

    // Compares actual, its trailing line feeds left out, with the case's
    // expected output; when updating, records it instead.
    void Check(const CaseBlock& c, std::string actual)
    {
        while (!actual.empty() && actual.back() == '\n')
            actual.pop_back();
        if (Updating()) {
            for (CaseBlock& mine : m_cases) {
                if (mine.line == c.line && mine.expected != actual) {
                    mine.expected = actual;
                    m_changed = true;
                }
            }
            return;
        }
        EXPECT_EQ(c.expected, actual) << m_path << ":" << c.line << ": " << c.name;
    }

private:
    static std::string Join(const std::vector<std::string>& lines)
    {
        size_t end = lines.size();
        while (end > 0 && lines[end - 1].empty())
            --end;
        std::string text;
        for (size_t i = 0; i < end; ++i) {
            if (i)
                text += '\n';
            text += lines[i];
        }
        return text;
    }

    static void ParseHeader(CaseBlock& c)
    {
        std::string rest = c.header.substr(4);
        size_t open = rest.rfind('[');
        if (!rest.empty() && rest.back() == ']' && open != std::string::npos) {
            std::stringstream words(rest.substr(open + 1, rest.size() - open - 2));
            std::string word;
            while (words >> word)
                c.options.push_back(word);
            rest.erase(open);
        }
        while (!rest.empty() && rest.back() == ' ')
            rest.pop_back();
        c.name = rest;
    }

    void Read()
    {
        std::ifstream in(std::string(QM_TEST_DATA_DIR) + "/" + m_path);
        if (!in) {
            ADD_FAILURE() << "cannot read " << m_path;
            return;
        }
        std::string text;
        int number = 0;
        CaseBlock* current = nullptr;
        std::vector<std::string> inputLines, expectedLines;
        bool inExpected = false;
        auto finish = [&]() {
            if (!current)
                return;
            if (!inExpected)
                ADD_FAILURE() << m_path << ":" << current->line << ": no \"---\" line";
            current->input = Join(inputLines);
            current->expected = Join(expectedLines);
        };
        while (std::getline(in, text)) {
            ++number;
            if (!text.empty() && text.back() == '\r')
                text.pop_back();
            if (text.rfind("=== ", 0) == 0) {
                finish();
                m_cases.emplace_back();
                current = &m_cases.back();
                current->line = number;
                current->header = text;
                ParseHeader(*current);
                inputLines.clear();
                expectedLines.clear();
                inExpected = false;
            } else if (!current) {
                m_preamble.push_back(text);
            } else if (!inExpected && text == "---") {
                inExpected = true;
            } else {
                (inExpected ? expectedLines : inputLines).push_back(text);
            }
        }
        finish();
    }

    void Write() const
    {
        std::ofstream out(std::string(QM_TEST_DATA_DIR) + "/" + m_path, std::ios::trunc);
        for (const std::string& line : m_preamble)
            out << line << '\n';
        for (size_t i = 0; i < m_cases.size(); ++i) {
            const CaseBlock& c = m_cases[i];
            if (i)
                out << '\n';
            out << c.header << '\n';
            if (!c.input.empty())
                out << c.input << '\n';
            out << "---\n";
            if (!c.expected.empty())
                out << c.expected << '\n';
        }
    }

    std::string m_path;
    std::vector<std::string> m_preamble;
    std::vector<CaseBlock> m_cases;
    bool m_changed = false;
};

// The lines of a per-element report (box dump, style report) without those
// of text runs ("/text()[" in the path), unless textRuns is set.
inline std::string ReportLines(const std::string& report, bool textRuns)
{
    std::istringstream lines(report);
    std::string line, kept;
    while (std::getline(lines, line)) {
        if (textRuns || line.find("/text()[") == std::string::npos)
            kept += line + "\n";
    }
    return kept;
}

} // namespace qmtest
