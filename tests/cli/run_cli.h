#pragma once
// Runs the built kurvant-cli (KURVANT_CLI_PATH) as a whole process and collects what it printed.

#include "support/scratch_folder.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace cli_test {

struct TRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

/// The argument quoted for the shell, whatever it holds.
inline std::string Quoted(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

inline std::string ReadWhole(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

/// A file name of its own in a scratch folder, removed with the folder.
class TTempFile {
    TScratchFolder Folder;

public:
    const std::string Path = Folder.File("file");
};

/// Runs kurvant-cli with the given arguments and standard input, in the environment that
/// `environment` sets (by default the C locale).
inline TRun RunCli(const std::vector<std::string>& args, const std::string& input = "",
                   const std::string& environment = "LC_ALL=C") {
    TScratchFolder folder;
    const std::string in = folder.File("in");
    const std::string err = folder.File("err");
    std::ofstream(in, std::ios::binary) << input;
    std::string command = environment + " " + Quoted(KURVANT_CLI_PATH);
    for (const std::string& arg : args) {
        command += ' ' + Quoted(arg);
    }
    command += " <" + Quoted(in) + " 2>" + Quoted(err);
    TRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.Out.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Err = ReadWhole(err);
    return run;
}

} // namespace cli_test
