// Runs a built program with arguments and collects its exit status and output.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace skribo::test {

struct TProgramResult {
  int ExitCode = -1;
  std::string Out, Err;
};

inline TProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
  TTempDir dir;
  const std::string outPath = (dir.Path / "out").string(), errPath = (dir.Path / "err").string();
  pid_t pid = ::fork();
  if (pid == 0) {
    int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args)
      argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  TProgramResult result;
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.Out = ReadBytes(outPath);
  result.Err = ReadBytes(errPath);
  return result;
}

}  // namespace skribo::test
