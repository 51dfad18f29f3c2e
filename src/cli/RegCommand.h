// skribo-reg: the registry store by hand, with the verbs of reg.exe.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace skribo {

// Runs one command line (without the program name) on the store in folder; returns the exit
// status: 0 on success, 1 with a message on err otherwise.
int RunRegCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const std::filesystem::path& folder);

}  // namespace skribo
