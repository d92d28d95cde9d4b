// make-demo-rom PATH: writes the synthetic ROM image that `make run` opens.
#include <cstdio>
#include <string>

#include "support/synthetic_rom.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-demo-rom PATH\n");
        return 2;
    }
    std::string error;
    if (!tessel::testing::writeSyntheticRom(argv[1], {}, &error)) {
        std::fprintf(stderr, "make-demo-rom: cannot write the demo ROM: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
