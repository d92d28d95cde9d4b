// make-man-page IN OUT: the man page from its template (data/tessel.1.in as
// configured) with the commands of the command table put in at the marker
// line, so that `man tessel` and `tessel --help` list the same commands.
#include <cstdio>
#include <string>

#include "cli/command_manual.h"
#include "file/durable_file.h"
#include "file/file_access.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-man-page IN OUT\n");
        return 2;
    }
    const auto in = tessel::readWholeFile(argv[1], 1 << 20);
    if (!in.ok) {
        std::fprintf(stderr, "make-man-page: %s\n", in.error.c_str());
        return 1;
    }
    std::string page(in.value.begin(), in.value.end());
    if (!tessel::insertCommandsManual(page)) {
        std::fprintf(stderr, "make-man-page: %s has no line for the commands\n", argv[1]);
        return 1;
    }
    const auto written = tessel::writeWholeFile(
        argv[2], std::span(reinterpret_cast<const std::uint8_t*>(page.data()), page.size()));
    if (!written.ok) {
        std::fprintf(stderr, "make-man-page: %s\n", written.error.c_str());
        return 1;
    }
    return 0;
}
