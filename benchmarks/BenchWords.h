#pragma once
// Words for the documents the benchmarks generate: a linear congruential
// draw over a fixed list, so that every run of a benchmark measures the same
// bytes and a seed names one document.

#include <string>

class BenchWords
{
public:
    explicit BenchWords(unsigned seed) : m_state(seed) { }

    // A number below n.
    unsigned Next(unsigned n)
    {
        m_state = m_state * 1103515245u + 12345u;
        return (m_state >> 16) % n;
    }

    // n words separated by single blanks.
    std::string Words(int n)
    {
        static const char* const kWords[]
            = {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf", "hotel", "india", "juliet",
                "kilo", "lima", "mike", "november", "oscar", "papa", "quebec", "romeo", "sierra", "tango"};
        std::string s;
        for (int i = 0; i < n; ++i) {
            if (i)
                s += ' ';
            s += kWords[Next(20)];
        }
        return s;
    }

private:
    unsigned m_state;
};
