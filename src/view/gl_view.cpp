#include "view/gl_view.h"

#include "view/glyph_font.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QResizeEvent>
#include <QWheelEvent>

TGLView::TGLView(QWidget* parent) : QOpenGLWidget(parent) {
    setObjectName(QStringLiteral("PanelGraphic"));
    setMouseTracking(true);
}

TFrameSize TGLView::FrameSize() const {
    const qreal dpr = devicePixelRatioF();
    const int w = qRound(width() * dpr);
    const int h = qRound(height() * dpr);
    return TFrameSize::Plain(w, h);
}

void TGLView::initializeGL() {
    // A core-profile context has no glBegin: it would silently draw nothing.
    const QSurfaceFormat fmt = context()->format();
    const bool fixedFunctions = fmt.profile() != QSurfaceFormat::CoreProfile ||
                                fmt.majorVersion() < 3 ||
                                (fmt.majorVersion() == 3 && fmt.minorVersion() < 2);
    Usable = fixedFunctions && !context()->isOpenGLES();
    if (!Usable) {
        ReportFailure();
        return;
    }
    // A widget can be given a new context (moved to another window): rebuild what belongs to it.
    InitSurfaceState();
    GlyphRatio = PixelRatio();
    BuildFontLists(GlyphRatio);
    if (!Created) {
        Created = true;
        const TFrameSize s = FrameSize();
        emit SurfaceCreated(s.ClientWidth, s.ClientHeight);
    }
}

void TGLView::paintGL() {
    if (!Usable)
        return;
    // Moved to a screen of another density: glyphs of the new size.
    if (GlyphRatio != PixelRatio()) {
        GlyphRatio = PixelRatio();
        BuildFontLists(GlyphRatio);
    }
    if (FramePainter)
        FramePainter(FrameSize());
    ++Frames;
    emit FrameDrawn();
}

void TGLView::resizeEvent(QResizeEvent* e) {
    QOpenGLWidget::resizeEvent(e);
    // The context is made when the widget is first shown and sized; no context by then means
    // there will be none.
    if (isVisible() && !isValid())
        ReportFailure();
}

void TGLView::ReportFailure() {
    if (FailureReported)
        return;
    FailureReported = true;
    emit ContextFailed();
}

void TGLView::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (e->button() == Qt::MiddleButton)
        emit MiddlePressed(p.x(), p.y());
    else
        emit MousePressed(p.x(), p.y());
}

void TGLView::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    emit MouseMoved(p.x(), p.y());
}

void TGLView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::MiddleButton)
        emit MiddleReleased();
    else
        emit MouseReleased();
}

void TGLView::wheelEvent(QWheelEvent* e) {
    // 120 eighths of a degree are one click of a wheel; a touchpad sends smaller steps.
    const QPoint angle = e->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (delta == 0) {
        e->ignore();
        return;
    }
    const QPoint p = e->position().toPoint();
    emit WheelTurned(p.x(), p.y(), delta / 120.0);
    e->accept();
}
