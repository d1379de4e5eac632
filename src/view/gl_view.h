#pragma once
// The OpenGL view of the main window (`PanelGraphic`). It owns only GPU state (the context's
// font lists); what a frame shows comes from the painter its owner installs.

#include "view/frame.h"

#include <QOpenGLWidget>

#include <functional>

class TGLView : public QOpenGLWidget {
    Q_OBJECT
public:
    using Painter = std::function<void(const TFrameSize&)>;

    explicit TGLView(QWidget* parent = nullptr);

    /// The drawing of one frame into the current context at the given size.
    void SetPainter(Painter painter) { FramePainter = std::move(painter); }
    /// False when no usable (compatibility) context could be made.
    bool ContextUsable() const { return Usable; }
    /// Device pixels to a pixel of the widget (2 on a screen of twice the density).
    double PixelRatio() const { return devicePixelRatioF(); }
    /// Frames drawn since the widget was made.
    int FramesDrawn() const { return Frames; }
    /// The drawing area in device pixels.
    TFrameSize FrameSize() const;

signals:
    /// The context exists for the first time; the surface's initial scales are set on it.
    void SurfaceCreated(int clientWidth, int clientHeight);
    /// No rendering context could be had (or only one without fixed functions).
    void ContextFailed();
    void FrameDrawn();
    /// Mouse over the view, in client pixels (y downwards).
    void MousePressed(int x, int y);
    void MouseMoved(int x, int y);
    void MouseReleased();
    /// The middle button, which shifts the view whatever the drag mode.
    void MiddlePressed(int x, int y);
    void MiddleReleased();
    /// The wheel turned over (x, y) by `notches` (one click of a wheel is 1; a touchpad gives
    /// parts of one), positive away from the user.
    void WheelTurned(int x, int y, double notches);

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    void ReportFailure();

    Painter FramePainter;
    bool Usable = false;
    bool Created = false;
    double GlyphRatio = 0; ///< the pixel ratio the glyph lists were made for
    bool FailureReported = false;
    int Frames = 0;
};
