#pragma once
// Pieces shared by the benchmark programs.

#include "services.h"

#include <algorithm>
#include <cstdio>
#include <vector>

// Message boxes go to stderr and are counted (a run that shows one is suspect).
class PrintingMessages : public IMessageBox {
public:
    MsgAnswer show(const QString& title, const QString& text, MsgIcon, MsgButtons) override
    {
        std::fprintf(stderr, "[%s] %s\n", qPrintable(title), qPrintable(text));
        ++count;
        return MsgAnswer::Ok;
    }
    int count = 0;
};

inline double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}
