#include "app/startup.h"
#include "app/recent_documents.h"

#include "analysis/form_other.h"
#include "analysis/form_study.h"
#include "analysis/form_table_values.h"
#include "app/form_main.h"
#include "app/forms_small.h"
#include "app/pictures.h"
#include "documents/form_settings.h"
#include "documents/settings_file.h"
#include "formula/locale_separator.h"
#include "graphs/form_graphic.h"
#include "tables/form_graphic_table.h"
#include "widgets/keyboard_return.h"
#include "widgets/ui_services.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QSurfaceFormat>
#include <QTranslator>

#include <cfenv>
#include <csignal>

void PrepareProcess() {
    // Non-stop mode: every floating-point exception masked for the whole run.
    std::fenv_t previous;
    std::feholdexcept(&previous);
    // A save into a FIFO whose reader goes away fails like any failed save instead of ending
    // the program.
    std::signal(SIGPIPE, SIG_IGN);
    QSurfaceFormat format;
    // No version and no profile asked: that gives a compatibility context in which the
    // fixed-function drawing works. A core profile would draw nothing.
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    QSurfaceFormat::setDefaultFormat(format);
}

void PrepareApplication(QApplication& app) {
    // The standard dialogs (colour chooser, file dialogs) and buttons speak the program's language.
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    InstallKeyboardReturn(app);
    QApplication::setWindowIcon(ProgramIcon());
}

QString DefaultSettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
           QStringLiteral("/") + QString::fromLatin1(SettingsFileName);
}

std::string SettingsPath(const TAppContext& Context) {
    return Context.SettingsFile.toStdString();
}

std::string SharedSettingsPath(const TAppContext& Context) {
    // Each user writes their own file, so the users of one installation keep their settings
    // apart; the one beside the program is only ever read.
    if (Context.ProgramDir.isEmpty())
        return {};
    return QDir(Context.ProgramDir).filePath(QString::fromLatin1(SettingsFileName)).toStdString();
}

std::unique_ptr<TFormMain> StartUp(TAppContext& Context,
                                   const std::function<void(QWidget* splash)>& WhileSplashShown) {
    auto splash = std::make_unique<TFormWindowBackDrop>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    auto main = std::make_unique<TFormMain>(Context);
    main->SetGraphDialog(new TFormGraphic(Context, main.get()));
    // The table dialog makes its fill and statistics windows with it.
    main->SetTableDialog(new TFormGraphicTable(Context, main.get()));
    main->SetTableValuesDialog(new TFormTableValues(Context, main.get()));
    main->SetOtherDialog(new TFormOther(Context, main->GraphDialog(), main.get()));
    main->SetStudyDialog(new TFormStudy(Context, main.get()));
    // The settings come from the user's "settings.dat", or the one beside the program for a
    // user who has none; a missing or damaged file leaves every setting at its default.
    ReadUserSettingsFile(SettingsPath(Context), SharedSettingsPath(Context), Context.Settings);
    main->SetSettingsDialog(new TFormSettings(Context, main.get()));
    main->SetAboutBox(new TFormAbout(main.get()));
    main->SetHelpWindow(new TFormHelp(Context.ProgramDir, main.get()));

    if (WhileSplashShown)
        WhileSplashShown(splash.get());
    splash->hide();
    splash.reset();
    return main;
}

void ShowMainWindow(TFormMain& main) {
    main.show();
    // Take the keyboard at once, also on a desktop without a window manager to hand it over:
    // the first thing a user does is press Ctrl+A.
    main.raise();
    main.activateWindow();
}

int RunKurvant(int argc, char** argv) {
    PrepareProcess();
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProductName);
    PrepareApplication(app);

    TQtUiServices services;
    TAppContext context;
    context.Services = &services;
    context.ProgramDir = QApplication::applicationDirPath();
    context.Formula.DecimalSeparator = kurvant::LocaleDecimalSeparator();
    context.RecentDocumentsFile = TRecentDocuments::DefaultFile();
    context.SettingsFile = DefaultSettingsFile();

    std::unique_ptr<TFormMain> main = StartUp(context);
    ShowMainWindow(*main);
    // A document named on the command line (as the desktop passes a double-clicked file).
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        main->OpenDocumentAtStart(arguments.at(1));
    return QApplication::exec();
}
