#pragma once
// Faces of the tool buttons, drawn in code.

#include <QIcon>
#include <QString>

/// The icon for a tool button: "rotate", "rotateZ", "translate", "scale", "center",
/// "defaultScale", "graphAdd", "tableAdd", or a projection's plane letters ("XOY", "XZY", ...).
QIcon ToolIcon(const QString& face);
