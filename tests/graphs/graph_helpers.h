#pragma once
// Shared helpers of the graph tests: default settings and graphs prepared as the dialog would.

#include "formula/formula_context.h"
#include "formula/prepare.h"
#include "graphs/graphic.h"
#include "settings/settings.h"
#include "support/decimal_separator.h"

#include <string>

namespace graphs_test {

/// The value, hidden from the compiler: a library call on it is made at run time, as the program
/// makes it, and never folded into a constant whose last bit may differ from the library's.
template <typename T> T AtRunTime(T value) {
    volatile T hidden = value;
    return hidden;
}

inline TSettings DefaultSettings() {
    TSettings s;
    Settings_Default(s);
    return s;
}

/// A formula context with the separator; the graph tests use ',' unless they say otherwise.
inline kurvant::TFormulaContext Context(char separator = ',') {
    return kurvant_test::Context(separator);
}

/// A formula graph of `kind` with its texts prepared as the dialog and the reader prepare them.
inline TGraphic MakeGraph(int kind, const std::string& formula, double min1, double max1,
                          int steps1, double min2 = -1, double max2 = 1, int steps2 = 50,
                          const std::string& formula2 = "", char separator = ',') {
    kurvant::TFormulaContext ctx = Context(separator);
    TGraphic g;
    g.Kind = static_cast<std::uint8_t>(kind);
    g.Variable = KindVariable(kind);
    g.Formula = formula;
    g.FormulaPrepared = formula;
    (void)kurvant::PrepareFormula(g.FormulaPrepared, KindVariableSet(kind), ctx);
    if (kind == KindXofY) {
        g.MinY = min1;
        g.MaxY = max1;
        g.StepsY = steps1;
    } else {
        g.MinX = min1;
        g.MaxX = max1;
        g.StepsX = steps1;
        g.MinY = min2;
        g.MaxY = max2;
        g.StepsY = steps2;
    }
    if (kind == KindPolar)
        g.Formula2Prepared = g.FormulaPrepared;
    if (kind == KindParametric) {
        g.Formula2 = formula2;
        g.Formula2Prepared = formula2;
        (void)kurvant::PrepareFormula(g.Formula2Prepared, "u", ctx);
    }
    return g;
}

} // namespace graphs_test
