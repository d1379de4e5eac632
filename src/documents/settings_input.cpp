#include "documents/settings_input.h"

#include "graphs/autoscale.h"

#include "formula/number_text.h"
#include "graphs/document.h"
#include "graphs/number_checks.h"

#include <utility>

namespace {

using TNumberMember = double TSettingsNumbers::*;

// The numbers in the order of `TSettingsField`.
constexpr std::array<TNumberMember, SettingsFieldCount> NumberMembers = {
    &TSettingsNumbers::MinX,
    &TSettingsNumbers::MaxX,
    &TSettingsNumbers::MinY,
    &TSettingsNumbers::MaxY,
    &TSettingsNumbers::MinZ,
    &TSettingsNumbers::MaxZ,
    &TSettingsNumbers::StepMesh,
    &TSettingsNumbers::StepNumeration_X,
    &TSettingsNumbers::StepNumeration_Y,
    &TSettingsNumbers::StepNumeration_Z};

void Order(double& lower, double& upper) {
    if (lower > upper)
        std::swap(lower, upper);
}

} // namespace

TSettingsRange SettingsFieldRange(TSettingsField field) {
    switch (field) {
    case TSettingsField::StepMesh:
        return {0.01, 100};
    case TSettingsField::StepNumeration_X:
    case TSettingsField::StepNumeration_Y:
    case TSettingsField::StepNumeration_Z:
        return {0.1, 50};
    default:
        return {-1000, 1000};
    }
}

std::string_view SettingsFieldName(TSettingsField field) {
    switch (field) {
    case TSettingsField::MinX:
        return "Min X";
    case TSettingsField::MaxX:
        return "Max X";
    case TSettingsField::MinY:
        return "Min Y";
    case TSettingsField::MaxY:
        return "Max Y";
    case TSettingsField::MinZ:
        return "Min Z";
    case TSettingsField::MaxZ:
        return "Max Z";
    case TSettingsField::StepMesh:
        return "Шаг сетки";
    case TSettingsField::StepNumeration_X:
        return "Шаг нумерации по оси X";
    case TSettingsField::StepNumeration_Y:
        return "Шаг нумерации по оси Y";
    case TSettingsField::StepNumeration_Z:
        return "Шаг нумерации по оси Z";
    }
    return {};
}

TSettingsCheck CheckSettingsTexts(const TSettingsTexts& texts, char decimalSeparator) {
    TSettingsCheck check;
    for (std::size_t i = 0; i < SettingsFieldCount; ++i) {
        const auto field = static_cast<TSettingsField>(i);
        const TSettingsRange range = SettingsFieldRange(field);
        if (!ReadFloatField(SettingsFieldName(field), texts[i], "", range.Minimum, range.Maximum,
                            check.Numbers.*NumberMembers[i], decimalSeparator, check.Message)) {
            check.Failed = field;
            return check;
        }
    }
    check.Ok = true;
    return check;
}

void OrderIntervalEnds(TSettingsNumbers& n) {
    Order(n.MinX, n.MaxX);
    Order(n.MinY, n.MaxY);
    Order(n.MinZ, n.MaxZ);
}

TSettingsNumbers SettingsNumbers(const TSettings& s) {
    return {AxisRanges(s), s.StepMesh};
}

void StoreSettingsNumbers(const TSettingsNumbers& n, TSettings& s) {
    StoreAxisRanges(n, s);
    s.StepMesh = n.StepMesh;
}

TSettingsTexts SettingsNumberTexts(const TSettings& settings, char decimalSeparator) {
    const TSettingsNumbers numbers = SettingsNumbers(settings);
    TSettingsTexts texts;
    for (std::size_t i = 0; i < SettingsFieldCount; ++i)
        texts[i] = kurvant::NumberText(numbers.*NumberMembers[i], decimalSeparator);
    return texts;
}

TSettingsTexts TextsToCheck(const TSettingsTexts& typed, const TSettings& shown,
                            const TAutoScaleBackup& backup, bool autoScaleOn,
                            char decimalSeparator) {
    TSettingsTexts texts = typed;
    if (!autoScaleOn)
        return texts;
    const TSettingsTexts showing = SettingsNumberTexts(shown, decimalSeparator);
    const auto own = [&](TSettingsField field, double step) {
        const auto i = static_cast<std::size_t>(field);
        if (texts[i] == showing[i])
            texts[i] = kurvant::NumberText(step, decimalSeparator);
    };
    own(TSettingsField::StepNumeration_X, backup.StepNumeration_X);
    own(TSettingsField::StepNumeration_Y, backup.StepNumeration_Y);
    return texts;
}

void KeepConfirmedInBackup(const TSettings& s, TAutoScaleBackup& backup) {
    CopySettingsIntoBackup(s, backup);
}

TSettingsFlags SettingsFlags(const TSettings& s) {
    TSettingsFlags f;
    f.AxisX = s.AxisX;
    f.AxisY = s.AxisY;
    f.AxisZ = s.AxisZ;
    f.Numeration = s.Numeration;
    f.Touch = s.Touch;
    f.Perspective = s.Perspective;
    f.XDown = s.XDown;
    f.XUp = s.XUp;
    f.YDown = s.YDown;
    f.YUp = s.YUp;
    f.ZDown = s.ZDown;
    f.ZUp = s.ZUp;
    f.Asteriks = s.Asteriks;
    return f;
}

void StoreSettingsFlags(const TSettingsFlags& f, TSettings& s) {
    s.AxisX = f.AxisX;
    s.AxisY = f.AxisY;
    s.AxisZ = f.AxisZ;
    s.Numeration = f.Numeration;
    s.Touch = f.Touch;
    s.Perspective = f.Perspective;
    s.XDown = f.XDown;
    s.XUp = f.XUp;
    s.YDown = f.YDown;
    s.YUp = f.YUp;
    s.ZDown = f.ZDown;
    s.ZUp = f.ZUp;
    s.Asteriks = f.Asteriks;
}

TSettingsFlags PresetFor3D(TSettingsFlags f) {
    f.AxisX = f.AxisY = f.AxisZ = true;
    f.Numeration = f.Touch = f.Perspective = true;
    return f;
}

TSettingsFlags PresetFor2D(TSettingsFlags f) {
    f.AxisX = f.AxisY = true;
    f.Numeration = f.Touch = true;
    f.AxisZ = f.Perspective = false;
    f.XDown = f.XUp = f.ZDown = f.ZUp = false;
    return f;
}

TSettingsFlags PresetNothing(TSettingsFlags f) {
    f.AxisX = f.AxisY = f.AxisZ = false;
    f.Numeration = f.Touch = false;
    f.XDown = f.XUp = f.YDown = f.YUp = f.ZDown = f.ZUp = false;
    f.Perspective = true;
    return f;
}
