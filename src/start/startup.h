#pragma once
// The start-up sequence: database file present, data module connected,
// schema current, current user decided (automatically or by signing in),
// then the main window.

#include "datamodule.h"

#include <functional>
#include <memory>

class Startup {
public:
    enum class Result { MissingFile, NoConnection, Cancelled, Ready };

    struct Environment {
        QString programFolder;            // ends with '/'
        TDataModule1::Services services;  // messages are required
        // Shows the sign-in window modally; true when it closed with OK.
        std::function<bool(TDataModule1&)> signIn;
    };

    explicit Startup(Environment env);

    // Runs everything up to the point where the main window is created.
    Result run();

    // The data module, alive after a successful run.
    TDataModule1* dataModule() const { return dm_.get(); }
    std::unique_ptr<TDataModule1> takeDataModule() { return std::move(dm_); }
    // True when the default user was signed in without the sign-in window.
    bool signedInAutomatically() const { return automatic_; }

private:
    Environment env_;
    std::unique_ptr<TDataModule1> dm_;
    bool automatic_ = false;
};
