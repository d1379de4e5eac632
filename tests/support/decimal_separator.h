#pragma once
// The decimal separator in tests: a formula context that uses a given separator, and texts that
// are written once with ',' and checked with either separator.

#include "formula/formula_context.h"

#include <string>

namespace kurvant_test {

/// A fresh formula context whose number texts use `separator`.
inline kurvant::TFormulaContext Context(char separator) {
    kurvant::TFormulaContext context;
    context.DecimalSeparator = separator;
    return context;
}

/// `text`, written with ',', with every ',' turned into `separator`.
inline std::string WithSeparator(std::string text, char separator) {
    for (char& c : text) {
        if (c == ',') {
            c = separator;
        }
    }
    return text;
}

} // namespace kurvant_test
