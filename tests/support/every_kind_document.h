#pragma once
// The document of every kind that the file tests write, break and open again.

#include "graphs/document.h"

#include <cstdint>
#include <utility>
#include <vector>

/// Adds to `document` a graph of each formula kind (0 to 5) with `stepsX` and `stepsY` steps,
/// then a table of `points`, and unticks the second graph.
inline void AddGraphOfEveryKind(TDocument& document, int stepsX, int stepsY,
                                std::vector<TPoint3D> points) {
    const char* formulas[] = {"sin(x)", "y^2", "1", "cos(u)", "x*y", "1"};
    for (int kind = KindYofX; kind <= KindSpherical; ++kind) {
        TGraphic g;
        g.Kind = static_cast<std::uint8_t>(kind);
        g.Formula = formulas[kind];
        if (kind == KindParametric)
            g.Formula2 = "sin(u)";
        g.StepsX = stepsX;
        g.StepsY = stepsY;
        document.Add(std::move(g));
    }
    TGraphic table;
    table.Kind = KindTable;
    table.Points = std::move(points);
    document.Add(std::move(table));
    document.SetVisible(1, false);
}
