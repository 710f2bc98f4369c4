// mkdisks: builds the disk sets of the product and checks them.
#include <iostream>

#include "commands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return tidemark::mkdisks::RunMkdisks(args, std::cout, std::cerr);
}
