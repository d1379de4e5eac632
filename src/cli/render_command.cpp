// kurvant-cli render: draws a document exactly as the view would show it, into a picture file,
// with no window system (surfaceless OpenGL).

#include "cli/cli_arguments.h"
#include "documents/document_file.h"
#include "documents/settings_file.h"
#include "graphs/document.h"
#include "view/frame.h"
#include "view/glyph_font.h"
#include "view/offscreen.h"

#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace kurvant::cli {

namespace {

struct TRenderOptions {
    std::string Settings;
    int Width = 800;
    int Height = 600;
    bool AutoScale = false;
    char DecimalSeparator = '.';
    std::string Document;
    std::string Output;
};

bool ParseSize(const std::string& text, int& w, int& h) {
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%dx%d%n", &w, &h, &consumed) != 2 ||
        consumed != static_cast<int>(text.size()))
        return false;
    // Large enough to hold a picture, small enough to allocate.
    return w >= 1 && h >= 1 && w <= 8192 && h <= 8192;
}

bool ParseRenderArguments(const std::vector<std::string>& args, char defaultSeparator,
                          TRenderOptions& o, std::string& error) {
    o.DecimalSeparator = defaultSeparator;
    std::vector<std::string> positionals;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) -> const std::string* {
            if (i + 1 >= args.size()) {
                error = std::string(name) + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--settings") {
            const std::string* v = value("--settings");
            if (!v)
                return false;
            o.Settings = *v;
        } else if (a == "--size") {
            const std::string* v = value("--size");
            if (!v)
                return false;
            if (!ParseSize(*v, o.Width, o.Height)) {
                error = "--size takes WxH, for example 800x600";
                return false;
            }
        } else if (a == "--autoscale") {
            o.AutoScale = true;
        } else if (a == "--sep") {
            const std::string* v = value("--sep");
            if (!v)
                return false;
            if (*v != "," && *v != ".") {
                error = "--sep takes ',' or '.'";
                return false;
            }
            o.DecimalSeparator = (*v)[0];
        } else if (a == "-o") {
            const std::string* v = value("-o");
            if (!v)
                return false;
            o.Output = *v;
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option '" + a + "'";
            return false;
        } else {
            positionals.push_back(a);
        }
    }
    if (positionals.size() != 1) {
        error = "render takes one document";
        return false;
    }
    if (o.Output.empty()) {
        error = "render needs -o OUT";
        return false;
    }
    o.Document = positionals[0];
    return true;
}

bool EndsWith(const std::string& s, const char* suffix) {
    const std::string x(suffix);
    return s.size() >= x.size() &&
           QString::fromStdString(s.substr(s.size() - x.size())).toLower().toStdString() == x;
}

} // namespace

int RunRender(const std::vector<std::string>& args, char defaultSeparator) {
    TRenderOptions o;
    std::string error;
    if (!ParseRenderArguments(args, defaultSeparator, o, error))
        return UsageError(error);

    TSettings settings;
    Settings_Default(settings);
    // A settings file that cannot be used leaves every setting at its default, as at start-up.
    if (!o.Settings.empty() && !ReadSettingsFile(o.Settings, settings))
        Settings_Default(settings);

    kurvant::TFormulaContext formula;
    formula.DecimalSeparator = o.DecimalSeparator;

    TDocument document;
    // The view as the program has it when a document is opened: the start scales, and the
    // frames drawn since have derived ScaleY.
    InitSurfaceScales(document.View, o.Width, o.Height);
    document.View.ScaleY =
        settings.Perspective ? document.View.ScaleX : o.Width * document.View.ScaleX / o.Height;
    document.AutoScaleOn = o.AutoScale;

    const TDocumentRead read = ReadDocumentFile(o.Document, document, settings, formula);
    if (read != TDocumentRead::Ok) {
        std::cerr << TerminalMessage(DocumentReadMessage(read)) << '\n';
        return ExitFailure;
    }

    // Fonts come from Qt; the OpenGL context from EGL, so no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own chatter about the environment is no concern of the command's user.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << text.toStdString() << '\n';
    });
    int argc = 1;
    char name[] = "kurvant-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    std::unique_ptr<TOffscreenGL> gl = TOffscreenGL::Create(o.Width, o.Height, &error);
    if (!gl) {
        std::cerr << "no OpenGL context: " << error << '\n';
        return ExitFailure;
    }
    InitSurfaceState();
    BuildFontLists();
    TScene scene{settings, document.View, o.AutoScale, o.DecimalSeparator, &document};
    DrawScene(scene, TFrameSize::Plain(o.Width, o.Height));
    const QImage picture = gl->Grab();

    const bool png = EndsWith(o.Output, ".png");
    if (!picture.save(QString::fromStdString(o.Output), png ? "PNG" : "BMP")) {
        std::cerr << "cannot write " << o.Output << '\n';
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace kurvant::cli
