#pragma once
// Runs the built kurvant-cli with arguments and a locale, and collects its exit status and both
// output streams.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace cli_test {

struct TRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

inline std::string Quoted(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

/// kurvant-cli with `args` under LC_ALL=`locale`; the standard input is empty.
inline TRun RunCli(const std::vector<std::string>& args, const std::string& locale = "C") {
    char errName[] = "/tmp/kurvant-cli-err-XXXXXX";
    const int fd = mkstemp(errName);
    if (fd >= 0)
        close(fd);
    std::string command = "LC_ALL=" + Quoted(locale) + " " + Quoted(KURVANT_CLI_PATH);
    for (const std::string& arg : args)
        command += ' ' + Quoted(arg);
    command += " </dev/null 2>" + Quoted(errName);
    TRun run;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            run.Out.append(buffer, n);
        const int status = pclose(pipe);
        run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::ifstream err(errName, std::ios::binary);
    std::stringstream text;
    text << err.rdbuf();
    run.Err = text.str();
    std::remove(errName);
    return run;
}

} // namespace cli_test
