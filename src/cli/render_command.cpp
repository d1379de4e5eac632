// kurvant-cli render: draws a document exactly as the view would show it, into a picture file,
// with no window system (surfaceless OpenGL).

#include "cli/cli_arguments.h"
#include "cli/commands.h"
#include "documents/document_file.h"
#include "documents/settings_file.h"
#include "graphs/document.h"
#include "view/frame.h"
#include "view/glyph_font.h"
#include "view/offscreen.h"
#include "view/picture_file.h"

#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace kurvant::cli {

namespace {

struct TRenderOptions {
    int Width = 800;
    int Height = 600;
    bool AutoScale = false;
    bool Literal = false;
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

// The parsed arguments as the drawing needs them; false once a usage error is reported.
bool ReadRenderOptions(const TParsedArguments& args, char defaultSeparator, TRenderOptions& o) {
    const std::optional<char> separator = DecimalSeparatorOption(args, defaultSeparator);
    if (!separator)
        return false;
    o.DecimalSeparator = *separator;
    const std::optional<std::string> size = args.Value("size");
    if (size && !ParseSize(*size, o.Width, o.Height)) {
        UsageError(args.VerbName(), "--size takes WxH, for example 800x600");
        return false;
    }
    o.AutoScale = args.Has("autoscale");
    o.Literal = args.Has("literal");
    o.Document = args.Positionals[0];
    o.Output = args.Value("output").value_or("");
    if (o.Output.empty()) {
        UsageError(args.VerbName(), "-o needs the name of the picture to write");
        return false;
    }
    return true;
}

} // namespace

int RunRender(const TParsedArguments& args, char defaultSeparator) {
    TRenderOptions o;
    if (!ReadRenderOptions(args, defaultSeparator, o))
        return ExitUsage;

    // Fonts come from Qt. The application is made first: it sets the process's locale, which
    // must not change under the renderer's start-up below.
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

    // The OpenGL context comes from EGL, so no display is needed. Making it loads and starts the
    // renderer, the slowest step of all: it goes on in a thread of its own while the document is
    // read and sampled and the glyphs are made, and is handed over to this thread to draw.
    std::unique_ptr<TOffscreenGL> gl;
    std::string error;
    std::thread contextMaker([&] {
        gl = TOffscreenGL::Create(o.Width, o.Height, &error);
        if (gl)
            gl->Release();
    });
    struct TJoin {
        std::thread& Thread;
        ~TJoin() {
            if (Thread.joinable())
                Thread.join();
        }
    } join{contextMaker};

    TSettings settings;
    ReadSettingsOption(args, settings);

    kurvant::TFormulaContext formula;
    formula.DecimalSeparator = o.DecimalSeparator;
    formula.Evaluator = o.Literal ? kurvant::TEvaluator::Text : kurvant::TEvaluator::Program;

    TDocument document;
    // The view as the program has it when a document is opened: the start scales, and the
    // frames drawn since have derived ScaleY.
    InitSurfaceScales(document.View, o.Width, o.Height);
    DeriveScaleY(document.View, settings.Perspective, false, TFrameSize::Plain(o.Width, o.Height));
    document.AutoScaleOn = o.AutoScale;

    TDocumentFault fault;
    const TDocumentRead read = ReadDocumentFile(o.Document, document, settings, formula, &fault);
    if (read != TDocumentRead::Ok) {
        std::cerr << TerminalMessage(DocumentReadMessage(read, fault)) << '\n';
        return ExitFailure;
    }
    const std::vector<TGlyphBitmap> glyphs = MakeGlyphBitmaps();

    contextMaker.join();
    if (!gl || !gl->MakeCurrent()) {
        std::cerr << "no OpenGL context: " << (gl ? "it could not be made current" : error) << '\n';
        return ExitFailure;
    }
    InitSurfaceState();
    BuildFontLists(glyphs);
    TScene scene{settings, document.View, o.AutoScale, o.DecimalSeparator, &document};
    const TFrameSize size = TFrameSize::Plain(o.Width, o.Height);
    const TViewPictureSource source{[&] {
                                        DrawScene(scene, size);
                                        return gl->Grab();
                                    },
                                    [&](TVectorFormat vector, std::FILE* out) {
                                        return WriteVectorPicture(scene, size, vector, out);
                                    }};

    // A name that names no known format gets the BMP of old.
    const TPictureFormat format = PictureFormatOfName(o.Output).value_or(TPictureFormat::Bmp);
    int saveError = 0;
    if (!SaveViewPicture(source, o.Output, format, SystemFileCalls(), &saveError)) {
        // The window's words, and the system's reason on the line after them.
        std::cerr << TerminalMessage(WithSystemReason(PictureSaveMessage, saveError)) << '\n';
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace kurvant::cli
