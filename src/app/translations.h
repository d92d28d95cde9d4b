// The window's texts in the user's language. At start the program loads
// tessel_<language>.qm from the first of its folders that holds one for the
// locale (beside the binary in the build tree, share/tessel/translations of
// the install), and Qt's own qtbase_<language>.qm for the standard buttons
// of message boxes and file dialogs. A language with no translation keeps
// the English texts. The command line never loads them: its output stays
// English.
#pragma once

#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <memory>
#include <vector>

namespace tessel {

// The folders the program's own translations are looked for in, first
// first: `translations` beside the binary, then the install's
// ../share/tessel/translations.
QStringList translationFolders(const QString& binaryFolder);

// Loads and installs the program's translation for `locale` from the first
// of `folders` that has one, and Qt's from `qtFolder`. Each translator is
// removed from the application when the returned list is destroyed.
std::vector<std::unique_ptr<QTranslator>> installTranslations(const QLocale& locale, const QStringList& folders,
                                                              const QString& qtFolder);

} // namespace tessel
