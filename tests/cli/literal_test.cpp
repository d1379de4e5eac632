// kurvant-cli's eval, sample and render by the formulas' programs and, with --literal, by the
// rewriting of their texts: the two give the same lines, points and pixels.

#include "formula_generator.h"
#include "support/machine_number.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

class TTempDir {
public:
    TTempDir() {
        char name[] = "/tmp/kurvant-literal-XXXXXX";
        Path = mkdtemp(name) ? name : "/tmp";
    }
    ~TTempDir() { std::system(("rm -rf '" + Path + "'").c_str()); }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    std::string File(const char* name) const { return Path + "/" + name; }
    std::string Path;
};

std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs kurvant-cli with `args` (already quoted for the shell), standard input from `input` and
// output into `output`; the exit code.
int RunCli(const std::string& args, const std::string& input, const std::string& output) {
    const std::string command = "env -u DISPLAY LC_ALL=C '" + std::string(KURVANT_CLI_PATH) + "' " +
                                args + " <'" + input + "' >'" + output + "' 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string DataFile(const char* name) {
    return std::string(KURVANT_TEST_DATA) + "/documents/" + name;
}

std::string Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) {
        ++n;
    }
    return std::to_string(n);
}

TEST(CliLiteral, EvalGivesTheSameLinesAsTheRewriting) {
    TTempDir dir;
    kurvant::testing::TFormulaGenerator generator(77);
    std::string lines;
    int written = 0;
    while (written < 3000) {
        const std::string formula = generator.Typed();
        if (formula.find_first_of("\t\r\n") != std::string::npos) {
            continue;
        }
        char values[160];
        const kurvant::TMachineNumbers machineNumbers; // the CLI reads C's hexadecimal numbers
        std::snprintf(values, sizeof values, "y=%La;x=%La", generator.Value(), generator.Value());
        lines += "xy\t" + formula + "\t" + values + "\n";
        ++written;
    }
    std::ofstream(dir.File("lines.txt"), std::ios::binary) << lines;
    for (const char* separator : {".", ","}) {
        const std::string sep = std::string(" --sep '") + separator + "'";
        ASSERT_EQ(RunCli("eval --batch" + sep, dir.File("lines.txt"), dir.File("program.txt")), 0);
        ASSERT_EQ(
            RunCli("eval --batch --literal" + sep, dir.File("lines.txt"), dir.File("literal.txt")),
            0);
        const std::string program = ReadWhole(dir.File("program.txt"));
        const std::string literal = ReadWhole(dir.File("literal.txt"));
        EXPECT_EQ(program, literal) << "separator " << separator;
        // Every outcome is among the lines compared.
        EXPECT_GT(std::stoi(Count(literal, "ok ")), 500) << separator;
        EXPECT_GT(std::stoi(Count(literal, "syntax-error")), 100) << separator;
        EXPECT_GT(std::stoi(Count(literal, "math-error")), 20) << separator;
    }
}

TEST(CliLiteral, EvalOfOneFormulaAsTheRewriting) {
    TTempDir dir;
    std::ofstream(dir.File("empty.txt"));
    const std::string args = "--vars xy 'exp(-(x^2+y^2))*cos(3x)' x=0.3 y=-0.7";
    ASSERT_EQ(RunCli("eval " + args, dir.File("empty.txt"), dir.File("program.txt")), 0);
    ASSERT_EQ(RunCli("eval --literal " + args, dir.File("empty.txt"), dir.File("literal.txt")), 0);
    EXPECT_EQ(ReadWhole(dir.File("program.txt")).substr(0, 3), "ok ");
    EXPECT_EQ(ReadWhole(dir.File("program.txt")), ReadWhole(dir.File("literal.txt")));
}

TEST(CliLiteral, SampleGivesTheSamePointsAsTheRewriting) {
    TTempDir dir;
    std::ofstream(dir.File("empty.txt"));
    for (const auto& [document, separator] :
         {std::pair{"all_kinds.qel", "."}, std::pair{"all_kinds_comma.qel", ","}}) {
        const std::string args =
            std::string("sample --sep '") + separator + "' '" + DataFile(document) + "'";
        ASSERT_EQ(RunCli(args, dir.File("empty.txt"), dir.File("program.txt")), 0) << document;
        ASSERT_EQ(RunCli(args + " --literal", dir.File("empty.txt"), dir.File("literal.txt")), 0)
            << document;
        const std::string program = ReadWhole(dir.File("program.txt"));
        EXPECT_EQ(program, ReadWhole(dir.File("literal.txt"))) << document;
        // Seven graphs with hundreds of points between them.
        EXPECT_EQ(Count(program, "\ngraph "), "7") << document;
        EXPECT_GT(program.size(), 10000u) << document;
    }
}

TEST(CliLiteral, RenderDrawsTheSamePixelsAsTheRewriting) {
    TTempDir dir;
    std::ofstream(dir.File("empty.txt"));
    const std::string args = "render --size 320x240 '" + DataFile("all_kinds.qel") + "' -o ";
    ASSERT_EQ(RunCli(args + "'" + dir.File("program.bmp") + "'", dir.File("empty.txt"),
                     dir.File("out.txt")),
              0);
    ASSERT_EQ(RunCli(args + "'" + dir.File("literal.bmp") + "' --literal", dir.File("empty.txt"),
                     dir.File("out.txt")),
              0);
    const std::string program = ReadWhole(dir.File("program.bmp"));
    EXPECT_GT(program.size(), 320u * 240u * 3u);
    EXPECT_TRUE(program == ReadWhole(dir.File("literal.bmp")));
}

TEST(CliLiteral, EachVerbThatEvaluatesTellsOfTheOption) {
    TTempDir dir;
    std::ofstream(dir.File("empty.txt"));
    for (const char* verb : {"eval", "sample", "render"}) {
        ASSERT_EQ(
            RunCli(std::string(verb) + " --help", dir.File("empty.txt"), dir.File("help.txt")), 0);
        EXPECT_NE(ReadWhole(dir.File("help.txt")).find("--literal"), std::string::npos) << verb;
    }
    ASSERT_EQ(RunCli("prepare --help", dir.File("empty.txt"), dir.File("help.txt")), 0);
    EXPECT_EQ(ReadWhole(dir.File("help.txt")).find("--literal"), std::string::npos);
}

} // namespace
