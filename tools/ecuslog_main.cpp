#include "tools/ecuslog_cli.h"

#include <iostream>

int main(int argc, char* argv[]) {
    return EcuslogCli::Run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
