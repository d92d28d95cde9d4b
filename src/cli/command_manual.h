// The man page's part that the command table writes: every command's forms
// and paragraph (batch_commands.h) as roff, so that the man page and --help
// cannot tell different commands. tools/make_man_page.cpp puts it into
// data/tessel.1.in at the line kManualMarker at build time.
//
// Forms: the command's name and options in bold, operands (the capital
// words) in italics. Paragraphs: the command's own operands in italics.
#pragma once

#include <string>
#include <string_view>

namespace tessel {

inline constexpr std::string_view kManualMarker = ".\\\" The commands of the command table";

std::string batchCommandsManual();

// `text` with every line that holds the marker replaced by the commands;
// false when no line held it.
bool insertCommandsManual(std::string& text);

} // namespace tessel
