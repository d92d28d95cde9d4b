// Choices of the editor kept between runs in Tessel's settings file (the
// one of widgets/settings_file.h). A missing, unreadable or damaged file, or
// a value of the wrong kind, reads as the fallback; a value that cannot be
// written is kept for this run only.
#pragma once

#include <QString>

namespace tessel {

inline const QString kJoinedPencilStrokesKey = QStringLiteral("joinedPencilStrokes");

bool readBoolSetting(const QString& key, bool fallback);
void writeBoolSetting(const QString& key, bool value);

} // namespace tessel
