#pragma once
// One run of the program for the application tests: a fresh program folder (with the user's
// configuration folder inside it), the desktop services, the run's context and the main window
// that the start-up makes. The members go in
// the reverse order of their making, as a run ends: the window first, the folder last.

#include "app/form_main.h"
#include "app/startup.h"
#include "documents/file_calls.h"
#include "support/fake_ui_services.h"
#include "support/test_context.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

/// The run with the services `TServices`: the scripted ones, or Qt's own where real boxes and
/// file dialogs are wanted.
template <typename TServices> struct TAppWorldWith {
    /// Starts the program with `decimalSeparator` for its number texts, saving through `disk`
    /// (the system's file calls when none is given), keeping the recent documents in
    /// `recentFile` (none: for the run only). When no program folder can be made the
    /// test fails and no window is made: the program folder holds the settings file, and the
    /// run must never use the folder it started in instead.
    explicit TAppWorldWith(char decimalSeparator, const TFileCalls* disk = nullptr,
                           const QString& recentFile = {}) {
        QVERIFY2(Dir.isValid(), qPrintable(Dir.errorString()));
        PrepareTestContext(Ctx, Services, decimalSeparator, Dir.path());
        if (disk != nullptr)
            Ctx.Disk = disk;
        Ctx.RecentDocumentsFile = recentFile;
        // The user's configuration folder of the run, not made yet: closing makes it.
        Ctx.SettingsFile = Dir.filePath(QStringLiteral("config/settings.dat"));
        Main = StartUp(Ctx);
    }
    TAppWorldWith(const TAppWorldWith&) = delete;
    TAppWorldWith& operator=(const TAppWorldWith&) = delete;

    QTemporaryDir Dir;
    TServices Services;
    TAppContext Ctx;
    std::unique_ptr<TFormMain> Main;
};

/// The run with the scripted services.
using TAppWorld = TAppWorldWith<TFakeUiServices>;
