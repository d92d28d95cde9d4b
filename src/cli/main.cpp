// The program: a command of batch_commands.h when the first argument names
// one (no display needed, no Qt object made), the editor window otherwise.
#include <string>
#include <vector>

#include "app/window_program.h"
#include "cli/batch_commands.h"

int main(int argc, char** argv)
{
    if (argc > 1 && tessel::isBatchCommand(argv[1]))
        return tessel::runBatchCommand(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
    return tessel::runWindowProgram(argc, argv, tessel::batchUsage().c_str());
}
