// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Parts of a test that need a process of their own: the program's message
// loop run to its end, or the process killed half way. The test program
// runs such a part instead of its tests when it is started with
// VOCATRIX_TEST_CHILD set to the part's name.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vocatrix::test {

using ChildPart = std::function<int(const std::string& argument)>;

inline std::map<std::string, ChildPart>& ChildParts() {
  static std::map<std::string, ChildPart> parts;
  return parts;
}

// Registers a part at start-up: static ChildRegistration r("name", part);
struct ChildRegistration {
  ChildRegistration(const std::string& name, ChildPart part) { ChildParts()[name] = std::move(part); }
};

// In the child: runs the part named by VOCATRIX_TEST_CHILD; -1 when the
// process is no child.
inline int RunChildPart() {
  const char* name = std::getenv("VOCATRIX_TEST_CHILD");
  if (!name) return -1;
  const auto part = ChildParts().find(name);
  if (part == ChildParts().end()) return 125;
  const char* argument = std::getenv("VOCATRIX_TEST_CHILD_ARGUMENT");
  return part->second(argument ? argument : "");
}

// Starts this test program as the child part `name`; its process number.
inline pid_t StartChildPart(const std::string& name, const std::string& argument) {
  std::vector<std::string> environment;
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("VOCATRIX_TEST_CHILD", 0) != 0) environment.emplace_back(*e);
  environment.push_back("VOCATRIX_TEST_CHILD=" + name);
  environment.push_back("VOCATRIX_TEST_CHILD_ARGUMENT=" + argument);
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string program = "/proc/self/exe";
  char* argv[] = {program.data(), nullptr};
  pid_t pid = -1;
  if (::posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv, envp.data()) != 0) return -1;
  return pid;
}

// Waits for a child to end by itself, at most `seconds`; its exit code, or
// 128 + the signal, or -1 (killed) when it did not end in time.
inline int WaitForChild(pid_t pid, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (std::chrono::steady_clock::now() < end) {
    if (::waitpid(pid, &status, WNOHANG) == pid)
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, &status, 0);
  return -1;
}

}  // namespace vocatrix::test
