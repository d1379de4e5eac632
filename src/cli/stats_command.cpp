// kurvant-cli stats [--sep C] [--group TEXT] TABLE.txt
// Loads a table text file as the table dialog's "Загрузить" loads it into the table of a new graph,
// and prints the statistics as "Статистика" then shows them: the line of column titles, then one
// line per statistic with its title and the X, Y and Z texts, separated by tabs.

#include "cli/cli_arguments.h"
#include "cli/commands.h"

#include "formula/locale_separator.h"
#include "tables/table_file.h"
#include "tables/table_statistics.h"

#include <cstdio>
#include <optional>
#include <string>

namespace kurvant::cli {

int RunStats(const TParsedArguments& args, char defaultSeparator) {
    const std::optional<char> separator = DecimalSeparatorOption(args, defaultSeparator);
    if (!separator)
        return ExitUsage;
    // An empty --group is an answer of its own: no grouping.
    const std::string group = args.Value("group").value_or(kurvant::LocaleGroupSeparator());

    TTableFile file;
    int failedLine = 0;
    const TTableFileRead read = ReadTableFile(args.Positionals[0], file, &failedLine);
    if (read != TTableFileRead::Ok) {
        std::fprintf(stderr, "%s\n",
                     TerminalMessage(TableLoadFailureMessage(read, failedLine)).c_str());
        return ExitFailure;
    }
    // The new-graph command leaves every cell empty; the load and "Статистика" normalise them.
    TTableGrid grid;
    ApplyTableFile(file, grid, *separator);
    grid.ModifyNumbers(*separator);

    const TStatisticsTexts texts = TableStatisticsTexts(grid, *separator, group);
    std::fputs("\tX\tY\tZ\n", stdout);
    for (std::size_t row = 0; row < texts.size(); ++row) {
        const std::string_view title = StatisticTitles[row];
        std::printf("%.*s\t%s\t%s\t%s\n", static_cast<int>(title.size()), title.data(),
                    texts[row][0].c_str(), texts[row][1].c_str(), texts[row][2].c_str());
    }
    return std::fflush(stdout) == 0 ? ExitOk : ExitFailure;
}

} // namespace kurvant::cli
