#pragma once

// What a test of the main window starts from: recorded message boxes, a fresh
// program folder with its database, an empty desktop data folder and the data
// module. Create the window after it and destroy the window first.

#include "RecordingDialogs.h"
#include "TestHome.h"
#include "UnitData.h"

#include <QTemporaryDir>

#include <memory>

class TWindowSandbox final {
public:
    TWindowSandbox()
    {
        qputenv("XDG_DATA_HOME", Xdg.path().toUtf8());
        Data = std::make_unique<TsysData>();
    }
    ~TWindowSandbox()
    {
        Data.reset();
        qunsetenv("XDG_DATA_HOME");
    }
    // A new data module on the same files, as a restart of the program makes.
    void Reconnect()
    {
        Data.reset();
        Data = std::make_unique<TsysData>();
    }

    TRecordingDialogs Dialogs;
    TTestHome Home;
    QTemporaryDir Xdg;
    std::unique_ptr<TsysData> Data;
};
