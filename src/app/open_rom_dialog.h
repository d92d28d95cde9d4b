// The Open ROM file dialog: one filter, "SNES ROM files (*.smc)", matched
// without regard to case (a ROM is as often "GAME.SMC" as "game.smc", and
// file names on Linux are case-sensitive), existing files only.
#pragma once

#include <QFileDialog>
#include <memory>

namespace tessel {

inline constexpr char kRomFilter[] = "SNES ROM files (*.smc)";

std::unique_ptr<QFileDialog> makeOpenRomDialog(QWidget* parent);

} // namespace tessel
