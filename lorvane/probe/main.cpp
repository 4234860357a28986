#include "cli/CommandRegistry.h"

int main(int argc, char* argv[]) {
    return cli::runCommandLine("lorvane-probe", argc, argv);
}
