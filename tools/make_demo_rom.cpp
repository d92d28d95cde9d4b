// make-demo-rom [--no-header] PATH: writes the demo ROM that `make run`
// opens, as a copier image or (--no-header) as a dump without the header.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "support/demo_rom.h"

int main(int argc, char** argv)
{
    const bool noHeader = argc == 3 && std::string(argv[1]) == "--no-header";
    if (argc != 2 && !noHeader) {
        std::fprintf(stderr, "usage: make-demo-rom [--no-header] PATH\n");
        return 2;
    }
    const char* path = argv[argc - 1];
    const std::vector<std::uint8_t> rom = tessel::testing::buildDemoRom();
    const std::size_t skip = noHeader ? 512 : 0;
    std::FILE* f = std::fopen(path, "wb");
    bool ok = f && std::fwrite(rom.data() + skip, 1, rom.size() - skip, f) == rom.size() - skip;
    const int why = errno;
    if (f && std::fclose(f) != 0) ok = false;
    if (!ok) {
        std::fprintf(stderr, "make-demo-rom: cannot write the demo ROM %s: %s\n", path, std::strerror(why));
        return 1;
    }
    return 0;
}
