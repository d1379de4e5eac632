#include "tables/table_fill.h"

#include "tables/fixed_text.h"

#include <algorithm>
#include <cmath>

namespace {

// The value of row `index` of the fill.
double ProgressionValue(TProgression kind, double first, double step, int index) {
    if (kind == TProgression::Arithmetic)
        return first + index * step;
    // Zero times a power that overflowed would be no number; a zero start stays zero.
    if (first == 0)
        return 0;
    return first * std::pow(step, index);
}

} // namespace

int ArithmeticDecimals(double first, double step) {
    return std::max(WrittenDecimals(step), WrittenDecimals(first));
}

std::vector<std::string> ProgressionTexts(TProgression kind, double first, double step, int count,
                                          char decimalSeparator) {
    const int decimals = kind == TProgression::Arithmetic ? ArithmeticDecimals(first, step) : 10;
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) {
        const double value = ProgressionValue(kind, first, step, i);
        if (!std::isfinite(value))
            break;
        std::string text = FixedText(value, decimals, decimalSeparator);
        // The value as written decides, so 999.9999999999999 written as "1000,0" is still in.
        double written = 0;
        if (!ReadCellValue(text, decimalSeparator, written) || std::fabs(written) > TableValueLimit)
            break;
        texts.push_back(std::move(text));
    }
    return texts;
}

int FillColumn(TTableGrid& grid, int column, int firstRow, int lastRow, TProgression kind,
               double first, double step, char decimalSeparator) {
    const std::vector<std::string> texts =
        ProgressionTexts(kind, first, step, lastRow - firstRow + 1, decimalSeparator);
    for (std::size_t i = 0; i < texts.size(); ++i)
        grid.SetCell(firstRow + static_cast<int>(i), column, texts[i]);
    return static_cast<int>(texts.size());
}
