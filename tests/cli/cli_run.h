#pragma once
// Runs the built kurvant-cli (KURVANT_CLI_PATH) as a user's shell would, and gives back its exit
// status with what it wrote on stdout and stderr.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct TRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

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

/// A new empty file in /tmp, removed when the object goes.
class TTempFile {
public:
    TTempFile() {
        char name[] = "/tmp/kurvant-cli-test-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) {
            close(fd);
        }
        Path = name;
    }
    ~TTempFile() { std::remove(Path.c_str()); }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;
    std::string Path;
};

/// Runs kurvant-cli with the given arguments and standard input, in the environment that
/// `environment` sets (by default the C locale).
inline TRun RunCli(const std::vector<std::string>& args, const std::string& input = "",
                   const std::string& environment = "LC_ALL=C") {
    TTempFile in;
    TTempFile err;
    std::ofstream(in.Path, std::ios::binary) << input;
    std::string command = environment + " " + Quoted(KURVANT_CLI_PATH);
    for (const std::string& arg : args) {
        command += ' ' + Quoted(arg);
    }
    command += " <" + Quoted(in.Path) + " 2>" + Quoted(err.Path);
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
    run.Err = ReadWhole(err.Path);
    return run;
}
