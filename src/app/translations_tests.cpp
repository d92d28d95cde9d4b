// The window's texts and their translation: the template made at build
// time holds every text the menus and the windows show, and a translation
// found for the user's language changes them.
#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QXmlStreamReader>

#include "app/translations.h"
#include "dialogs/about_dialog.h"
#include "dialogs/history_dialog.h"
#include "dialogs/palette_editor_dialog.h"
#include "dialogs/recovery_list_dialog.h"
#include "dialogs/sprite_info_dialog.h"
#include "model/command_ids.h"
#include "support/synthetic_rom.h"
#include "views/large_view_window.h"
#include "window/status_line.h"
#include "window/window_test_fixture.h"

namespace tessel::testing {
namespace {

// The source texts of a translation file, each as a pattern in which a
// place holder (%1) stands for any value.
std::vector<QRegularExpression> sourcePatterns(const QString& path)
{
    std::vector<QRegularExpression> patterns;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return patterns;
    QXmlStreamReader xml(&file);
    static const QRegularExpression placeHolder(QStringLiteral("%\\d"));
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement() || xml.name() != QLatin1String("source")) continue;
        QStringList parts = xml.readElementText().split(placeHolder);
        for (QString& part : parts) part = QRegularExpression::escape(part);
        patterns.emplace_back(QRegularExpression::anchoredPattern(parts.join(QStringLiteral(".*"))),
                              QRegularExpression::DotMatchesEverythingOption);
    }
    return patterns;
}

// The texts of a menu and its submenus, titles included.
void collectMenu(QMenu* menu, QStringList& texts)
{
    texts << menu->title();
    for (QAction* a : menu->actions()) {
        if (a->menu()) collectMenu(a->menu(), texts);
        else if (!a->isSeparator()) texts << a->text();
    }
}

// What a window shows in words: its title, labels, buttons (Qt's standard
// ones aside, Qt translates those), group titles, list entries, column
// headings and tooltips.
void collectWindow(QWidget* top, QStringList& texts)
{
    texts << top->windowTitle();
    for (QWidget* w : top->findChildren<QWidget*>()) {
        texts << w->toolTip();
        if (auto* l = qobject_cast<QLabel*>(w)) texts << l->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) texts << g->title();
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) texts << c->itemText(i);
        if (auto* t = qobject_cast<QTreeWidget*>(w))
            for (int i = 0; i < t->columnCount(); ++i) texts << t->headerItem()->text(i);
        auto* b = qobject_cast<QAbstractButton*>(w);
        if (!b) continue;
        auto* box = qobject_cast<QDialogButtonBox*>(b->parentWidget());
        const auto standard = box ? box->standardButton(b) : QDialogButtonBox::NoButton;
        if (standard == QDialogButtonBox::NoButton || b->text() != QDialogButtonBox(standard).button(standard)->text())
            texts << b->text();
    }
}

using TranslatedTexts = WindowTest;

TEST_F(TranslatedTexts, TheTemplateHoldsEveryTextOfTheMenusAndTheWindows)
{
    const std::vector<QRegularExpression> sources = sourcePatterns(QStringLiteral(TESSEL_TRANSLATION_TEMPLATE));
    ASSERT_GT(sources.size(), 100u) << TESSEL_TRANSLATION_TEMPLATE;
    const QString rom = dir.filePath(QStringLiteral("game.smc"));
    const std::vector<std::uint8_t> bytes = buildSyntheticRom({});
    QFile file(rom);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    file.close();
    ASSERT_TRUE(window->openRomAt(rom));
    window->runCommand(ids::LargeView);
    ASSERT_NE(window->largeView(), nullptr);

    QStringList texts;
    for (QAction* a : window->mainMenu()->actions())
        if (a->menu()) collectMenu(a->menu(), texts);
    AboutDialog about(42);
    SpriteInfoDialog info(*state);
    PaletteEditorDialog palettes(*state, prompts);
    HistoryDialog history(*state);
    RecoveryListDialog recovery({{QStringLiteral("game.smc"), rom, QStringLiteral("8 Dec"), QStringLiteral("3")}});
    const std::vector<QWidget*> tops = {window->clientArea(), window->statusLine(), &about, &info, &palettes,
                                        &history, &recovery, window->largeView()};
    for (QWidget* top : tops)
        collectWindow(top, texts);
    ASSERT_TRUE(texts.contains(QStringLiteral("&Open ROM...\tCtrl+O")));
    ASSERT_TRUE(texts.contains(QStringLiteral("<< Add Color")));

    // Values (numbers, "$7FFF", the ROM's path in Open Recent) are not texts to translate.
    static const QRegularExpression value(QStringLiteral("^(\\$[0-9A-F]{4}|[^A-Za-z]*)$"));
    for (const QString& text : texts) {
        if (value.match(text).hasMatch() || text.endsWith(rom)) continue;
        const bool held = std::any_of(sources.begin(), sources.end(),
                                      [&](const QRegularExpression& s) { return s.match(text).hasMatch(); });
        EXPECT_TRUE(held) << text.toStdString();
    }
}

TEST_F(TranslatedTexts, ATranslationForTheLocaleChangesTheMenu)
{
    auto menuTitles = [this] {
        QStringList titles;
        for (QAction* a : window->mainMenu()->actions()) titles << a->text();
        return titles.mid(0, 2);
    };
    window.reset();
    {
        // The first folder has none; the second the tests' own.
        const auto installed = installTranslations(QLocale(QStringLiteral("eo")),
                                                   {dir.filePath(QStringLiteral("none")),
                                                    QStringLiteral(TESSEL_TEST_TRANSLATIONS)},
                                                   dir.filePath(QStringLiteral("none")));
        ASSERT_EQ(installed.size(), 1u);
        openWindow();
        // One text is translated; the others stay English.
        EXPECT_EQ(menuTitles(), QStringList({QStringLiteral("&Dosiero"), QStringLiteral("&Edit")}));
        window.reset();
    }
    // A language with no translation keeps the English texts.
    EXPECT_TRUE(installTranslations(QLocale(QStringLiteral("fr")), {QStringLiteral(TESSEL_TEST_TRANSLATIONS)},
                                    dir.filePath(QStringLiteral("none")))
                    .empty());
    openWindow();
    EXPECT_EQ(menuTitles(), QStringList({QStringLiteral("&File"), QStringLiteral("&Edit")}));
}

} // namespace
} // namespace tessel::testing
