#pragma once
// Pieces shared by the benchmark programs.

#include "datamodule.h"
#include "schema.h"
#include "services.h"

#include <QTemporaryDir>
#include <memory>

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

// A delivered database in a temporary folder and a data module connected to
// it; null (after a line on stderr) when either fails.
struct BenchDatabase {
    QTemporaryDir dir;
    PrintingMessages messages;
    std::unique_ptr<TDataModule1> dm;

    bool open()
    {
        const QString folder = dir.path() + QLatin1Char('/');
        QString error;
        if (!Schema::createDeliveredFile(folder + QStringLiteral("Data/Account.mdb"), &error)) {
            std::fprintf(stderr, "cannot create the database: %s\n", qPrintable(error));
            return false;
        }
        TDataModule1::Services services;
        services.messages = &messages;
        dm = std::make_unique<TDataModule1>(folder, services);
        return dm->isConnected();
    }
};
