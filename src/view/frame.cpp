#include "view/frame.h"

#include "view/camera.h"
#include "view/graph_drawing.h"
#include "view/scene_frame.h"

#include <GL/gl.h>
#include <GL/glu.h>

void InitSurfaceState() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
}

namespace {

void SetProjection(const TSettings& settings, const TFrameSize& size) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Without perspective the projection stays the identity: -1..1 across the viewport, and
    // the scales alone map model units onto it.
    if (settings.Perspective)
        gluPerspective(PerspectiveFieldOfView,
                       static_cast<double>(size.OuterWidth) / static_cast<double>(size.OuterHeight),
                       PerspectiveNear, PerspectiveFar);
}

void SetCamera(const TSettings& settings) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (settings.Perspective)
        gluLookAt(0, 0, CameraDistance, 0, 0, 0, 0, 1, 0);
}

void ApplyModelTransforms(const ViewState& v) {
    // Turned about Z first, then Y, then X, and scaled last; Z shares the X scale.
    glScalef(static_cast<float>(v.ScaleX), static_cast<float>(v.ScaleY),
             static_cast<float>(v.ScaleX));
    glRotatef(static_cast<float>(v.AngleX), 1, 0, 0);
    glRotatef(static_cast<float>(v.AngleY), 0, 1, 0);
    glRotatef(static_cast<float>(v.AngleZ), 0, 0, 1);
}

} // namespace

void DeriveScaleY(ViewState& v, bool perspective, bool autoScaleChecked, const TFrameSize& size) {
    // While autoscaling is on, ScaleY keeps the value the fit gave it.
    if (autoScaleChecked || size.ClientHeight <= 0)
        return;
    if (perspective)
        v.ScaleY = v.ScaleX;
    else
        v.ScaleY = size.ClientWidth * v.ScaleX / size.ClientHeight;
}

void DrawScene(TScene& scene, const TFrameSize& size) {
    const TColorGL& bg = scene.Settings.BackGroundGL();
    glClearColor(bg.R, bg.G, bg.B, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // An empty view has no aspect ratio; draw again when it has a size.
    if (size.ClientWidth <= 0 || size.ClientHeight <= 0 || size.OuterWidth <= 0 ||
        size.OuterHeight <= 0)
        return;

    glViewport(0, 0, size.ClientWidth, size.ClientHeight);
    SetProjection(scene.Settings, size);
    SetCamera(scene.Settings);
    DeriveScaleY(scene.View, scene.Settings.Perspective, scene.AutoScaleChecked, size);
    ApplyModelTransforms(scene.View);

    const TFrameCounts counts = DrawSceneFrame(scene.Settings, scene.View, scene.DecimalSeparator,
                                               scene.PixelRatio, scene.FrameCulling);
    if (scene.FrameCounts)
        *scene.FrameCounts = counts;
    if (scene.Graphs)
        DrawGraphs(*scene.Graphs, scene.View, scene.PixelRatio);
}

void TShiftedEmitter::Vertex(double x, double y) const {
    glVertex2f(static_cast<float>(x + DX), static_cast<float>(y + DY));
}
void TShiftedEmitter::Vertex(double x, double y, double z) const {
    glVertex3f(static_cast<float>(x + DX), static_cast<float>(y + DY), static_cast<float>(z));
}
void TShiftedEmitter::RasterPos(double x, double y) const {
    glRasterPos2f(static_cast<float>(x + DX), static_cast<float>(y + DY));
}
void TShiftedEmitter::RasterPos(double x, double y, double z) const {
    glRasterPos3f(static_cast<float>(x + DX), static_cast<float>(y + DY), static_cast<float>(z));
}
