#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/RegCommand.h"
#include "platform/Registry.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return skribo::RunRegCommand(args, std::cout, std::cerr, skribo::DefaultRegistryFolder());
  } catch (const std::exception& e) {
    std::cerr << "ERROR: " << e.what() << "\n";
    return 1;
  }
}
