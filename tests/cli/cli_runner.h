// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs a program (by default the vocatrix-cli binary) with arguments and
// stdin text, capturing its exit code, stdout and stderr.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "../core/test_util.h"

namespace vocatrix::test {

struct CliResult {
  int code = -1;
  std::string out;
  std::string err;
};

// `unset` names environment variables the program runs without;
// `prepare` runs in the child just before the program starts (limits, user).
inline CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::string& input = {}, const std::vector<std::string>& unset = {},
                            const std::function<void()>& prepare = {}) {
  TempDir capture;
  const std::string inPath = capture.File("in");
  const std::string outPath = capture.File("out");
  const std::string errPath = capture.File("err");
  WriteFile(inPath, input);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int in = ::open(inPath.c_str(), O_RDONLY);
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    for (const std::string& name : unset) ::unsetenv(name.c_str());
    if (prepare) prepare();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  CliResult r;
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = ReadFile(outPath);
  r.err = ReadFile(errPath);
  return r;
}

#ifdef VOCATRIX_CLI_PATH
inline CliResult RunCliWith(const std::vector<std::string>& args, const std::string& input = {},
                            const std::function<void()>& prepare = {}) {
  return RunProgram(VOCATRIX_CLI_PATH, args, input, {}, prepare);
}
#endif

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace vocatrix::test
