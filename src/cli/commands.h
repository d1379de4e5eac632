#pragma once

// The verbs' work, one file each; verb_table.cpp gives each its name, arguments and options.

#include "cli/cli_options.h"

namespace kurvant::cli {

int RunPrepare(const TParsedArguments& args, char defaultSeparator);
int RunEval(const TParsedArguments& args, char defaultSeparator);
int RunSample(const TParsedArguments& args, char defaultSeparator);
/// Draws a document as the view would show it into a BMP (or PNG) picture, with no display.
int RunRender(const TParsedArguments& args, char defaultSeparator);
/// Prints the lines of the tabulation file that the tabulation dialog would save.
int RunTabulate(const TParsedArguments& args, char defaultSeparator);
/// Prints the formula of the tangent or normal that the tangent dialog would offer.
int RunTangent(const TParsedArguments& args, char defaultSeparator);
/// Print the grid of the function study dialog: the zeros, the extrema, the intersections of two
/// formulas, the integral.
int RunZeros(const TParsedArguments& args, char defaultSeparator);
int RunExtrema(const TParsedArguments& args, char defaultSeparator);
int RunIntersect(const TParsedArguments& args, char defaultSeparator);
int RunArea(const TParsedArguments& args, char defaultSeparator);
/// Prints the statistics of a table text file as the table dialog's statistics window shows them.
int RunStats(const TParsedArguments& args, char defaultSeparator);

} // namespace kurvant::cli
