// The view leaving the program: its vector picture, printing and the clipboard.

#include "app/form_main.h"
#include "app/view_printing.h"
#include "view/gl_view.h"
#include "view/vector_picture.h"
#include "widgets/ui_services.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>

namespace {

const QString PrintFailed =
    QStringLiteral("Не удаётся напечатать рисунок области построения графиков!");

} // namespace

TScene TFormMain::CurrentScene() {
    return TScene{Ctx.Settings,
                  Ctx.Document.View,
                  Ctx.Document.AutoScaleOn,
                  Ctx.Formula.DecimalSeparator,
                  &Ctx.Document,
                  PanelGraphic->PixelRatio()};
}

bool TFormMain::RecordInView(const std::function<void(TScene&, const TFrameSize&)>& record) {
    if (!PanelGraphic->ContextUsable())
        return false;
    // The recording draws into the view's own context in feedback mode, which puts no pixel on
    // the screen; the view is drawn again afterwards all the same.
    PanelGraphic->makeCurrent();
    TScene scene = CurrentScene();
    record(scene, PanelGraphic->FrameSize());
    PanelGraphic->doneCurrent();
    PanelGraphic->update();
    return true;
}

std::string TFormMain::VectorPicture(TVectorFormat format) {
    std::string bytes;
    RecordInView([&](TScene& scene, const TFrameSize& size) {
        bytes = VectorPictureBytes(scene, size, format);
    });
    return bytes;
}

bool TFormMain::WriteVectorPictureTo(TVectorFormat format, std::FILE* out) {
    bool written = false;
    RecordInView([&](TScene& scene, const TFrameSize& size) {
        written = WriteVectorPicture(scene, size, format, out);
    });
    return written;
}

QSize TFormMain::ViewPictureSize() const {
    const TFrameSize size = PanelGraphic->FrameSize();
    return {size.ClientWidth, size.ClientHeight};
}

void TFormMain::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    SuitPageToView(printer, ViewPictureSize());
    if (!Ctx.Services->PrintDialog(this, printer))
        return;
    if (!PrintViewPicture(printer, VectorPicture(TVectorFormat::Svg), ViewPictureSize()))
        Ctx.Services->Error(this, QStringLiteral("Ошибка"), PrintFailed);
}

void TFormMain::PrintPreviewClick() {
    QPrinter printer(QPrinter::HighResolution);
    SuitPageToView(printer, ViewPictureSize());
    const std::string svg = VectorPicture(TVectorFormat::Svg);
    const QSize size = ViewPictureSize();
    Ctx.Services->PrintPreview(this, printer,
                               [&](QPrinter* target) { PrintViewPicture(*target, svg, size); });
}

void TFormMain::CopyPictureClick() {
    auto* picture = new QMimeData;
    // Office programs paste the image, vector editors the SVG.
    picture->setImageData(PanelGraphic->grabFramebuffer());
    const std::string svg = VectorPicture(TVectorFormat::Svg);
    if (!svg.empty())
        picture->setData(QStringLiteral("image/svg+xml"), QByteArray::fromStdString(svg));
    QGuiApplication::clipboard()->setMimeData(picture);
}
