#include "cli.h"

int main(int argc, char** argv) {
    return tavu::cliMain(argc, argv);
}
