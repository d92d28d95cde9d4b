#include "app/translations.h"

#include <QCoreApplication>
#include <QDir>

namespace tessel {

QStringList translationFolders(const QString& binaryFolder)
{
    const QDir binary(binaryFolder);
    return {binary.filePath(QStringLiteral("translations")),
            QDir::cleanPath(binary.filePath(QStringLiteral("../share/tessel/translations")))};
}

std::vector<std::unique_ptr<QTranslator>> installTranslations(const QLocale& locale, const QStringList& folders,
                                                              const QString& qtFolder)
{
    std::vector<std::unique_ptr<QTranslator>> installed;
    auto install = [&](const QString& name, const QString& folder) {
        auto translator = std::make_unique<QTranslator>();
        // load() tries the locale's languages in turn ("de-CH", then "de").
        if (!translator->load(locale, name, QStringLiteral("_"), folder)) return false;
        QCoreApplication::installTranslator(translator.get());
        installed.push_back(std::move(translator));
        return true;
    };
    for (const QString& folder : folders)
        if (install(QStringLiteral("tessel"), folder)) break;
    install(QStringLiteral("qtbase"), qtFolder);
    return installed;
}

} // namespace tessel
