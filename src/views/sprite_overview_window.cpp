#include "views/sprite_overview_window.h"

#include <QToolButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMetaMethod>
#include <QSettings>
#include <QVBoxLayout>
#include <cstring>

#include "views/sprite_overview_grid.h"
#include "widgets/settings_file.h"
#include "widgets/window_place.h"

namespace tessel {

namespace {
constexpr QSize kDefaultSize{620, 600};
constexpr QSize kMinimumSize{220, 200};
const QString kGroup = QString::fromLatin1(kSpriteOverviewGroup);

bool samePalettes(const std::array<DisplayPalette, kPaletteCount>& a,
                  const std::array<DisplayPalette, kPaletteCount>& b)
{
    static_assert(std::is_trivially_copyable_v<DisplayPalette>);
    return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}
} // namespace

SpriteOverviewWindow::SpriteOverviewWindow(EditorState& state, const QString& settingsFile, QWidget* owner)
    : QWidget(owner, Qt::Window), state_(state), settingsFile_(settingsFile)
{
    setObjectName(QStringLiteral("spriteOverview"));
    setMinimumSize(kMinimumSize);
    resize(kDefaultSize);

    filterBox_ = new QLineEdit(this);
    filterBox_->setObjectName(QStringLiteral("overviewFilter"));
    filterBox_->setClearButtonEnabled(true);
    for (QToolButton* clear : filterBox_->findChildren<QToolButton*>()) clear->setAccessibleName(tr("Clear the filter"));
    filterBox_->setPlaceholderText(tr("18, 100-120, 2x2, p5, edited, starred, differs or a name"));
    filterBox_->setAccessibleName(tr("Filter"));
    filterBox_->setAccessibleDescription(
        tr("Sprite numbers and ranges, sizes in tiles such as 2x2, palettes such as p5, the words edited, "
           "starred and differs, or words of a name. Terms of one kind widen the choice, different kinds "
           "narrow it. Enter chooses the sprite under the cursor."));
    auto* filterLabel = new QLabel(tr("&Filter:"), this);
    filterLabel->setBuddy(filterBox_);
    scaleBox_ = new QComboBox(this);
    scaleBox_->setObjectName(QStringLiteral("overviewScale"));
    scaleBox_->addItem(tr("1\u00d7"), 1);
    scaleBox_->addItem(tr("2\u00d7"), 2);
    scaleBox_->setAccessibleName(tr("Thumbnail size"));
    auto* scaleLabel = new QLabel(tr("&Size:"), this);
    scaleLabel->setBuddy(scaleBox_);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("overviewProblem"));
    problem_->setWordWrap(true);
    problem_->setAccessibleName(tr("Filter result"));
    problem_->hide();
    grid_ = new SpriteOverviewGrid(state_, this);
    grid_->setObjectName(QStringLiteral("overviewGrid"));
    grid_->setTagsSource(&tags_);
    grid_->setAccessibleName(tr("Sprite thumbnails"));

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(6, 6, 6, 2);
    bar->addWidget(filterLabel);
    bar->addWidget(filterBox_, 1);
    bar->addWidget(scaleLabel);
    bar->addWidget(scaleBox_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(bar);
    layout->addWidget(problem_);
    layout->addWidget(grid_, 1);
    problem_->setContentsMargins(6, 0, 6, 0);

    connect(filterBox_, &QLineEdit::textChanged, this, &SpriteOverviewWindow::refilter);
    connect(filterBox_, &QLineEdit::returnPressed, this, [this] {
        if (grid_->cursorSprite() >= 0) emit spriteChosen(grid_->cursorSprite());
    });
    connect(scaleBox_, &QComboBox::currentIndexChanged, this,
            [this] { grid_->setScale(scaleBox_->currentData().toInt()); });
    connect(grid_, &SpriteOverviewGrid::chosen, this, &SpriteOverviewWindow::spriteChosen);
    connect(grid_, &SpriteOverviewGrid::menuRequested, this, &SpriteOverviewWindow::showMenu);
    connect(grid_, &SpriteOverviewGrid::cursorMoved, this, &SpriteOverviewWindow::updateCaption);
    filterBox_->installEventFilter(this);
    loadSettings();
    updateCaption();
}

SpriteOverviewWindow::~SpriteOverviewWindow()
{
    if (isVisible()) saveSettings();
}

void SpriteOverviewWindow::setTagsSource(SpriteTagsSource tags)
{
    tags_ = std::move(tags);
    tagsChanged();
}

void SpriteOverviewWindow::tagsChanged()
{
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    refilter();
    grid_->refreshAll();
}

void SpriteOverviewWindow::setFilterText(const QString& text) { filterBox_->setText(text); }
QString SpriteOverviewWindow::filterText() const { return filterBox_->text(); }
QString SpriteOverviewWindow::problemText() const { return problem_->isHidden() ? QString() : problem_->text(); }

void SpriteOverviewWindow::setScale(int scale) { scaleBox_->setCurrentIndex(scale >= 2 ? 1 : 0); }
int SpriteOverviewWindow::scale() const { return grid_->scale(); }

QString SpriteOverviewWindow::problemSentence(const FilterProblem& problem) const
{
    const QString term = QString::fromStdString(problem.term);
    switch (problem.kind) {
    case FilterProblem::Kind::NoSuchSprite:
        return tr("\u201c%1\u201d: there is no such sprite; the sprites are numbered 0 to %2.")
            .arg(term)
            .arg(kSpriteCount - 1);
    case FilterProblem::Kind::BadRange:
        return tr("\u201c%1\u201d is not a range of sprites: write both ends, as in 100-120.").arg(term);
    case FilterProblem::Kind::NoSuchSize:
        return tr("\u201c%1\u201d: no sprite has that size; sprites are 1 to 8 tiles wide and 1 to 10 high.")
            .arg(term);
    case FilterProblem::Kind::NoSuchPalette:
        return tr("\u201c%1\u201d: there is no such palette; the palettes are p0 to p31.").arg(term);
    case FilterProblem::Kind::None: break;
    }
    return QString();
}

void SpriteOverviewWindow::refilter()
{
    stale_ = false;
    const ParsedFilter parsed = parseSpriteFilter(filterBox_->text().toStdString());
    if (parsed.problem.kind != FilterProblem::Kind::None) {
        // The grid keeps what the last readable filter showed.
        problem_->setText(problemSentence(parsed.problem));
        problem_->show();
        return;
    }
    std::vector<int> shown;
    if (state_.romOpen()) shown = filterSprites(parsed.filter, state_.document, tags_);
    bool named = false;
    for (int i = 0; tags_ && !named && i < static_cast<int>(shown.size()); ++i) named = !tags_(shown[i]).name.empty();
    grid_->setLabelLines(named ? 2 : 1);
    if (shown != grid_->sprites()) grid_->setSprites(std::move(shown));
    else grid_->refreshAll();
    const bool none = state_.romOpen() && grid_->sprites().empty();
    problem_->setText(none ? tr("No sprite passes this filter.") : QString());
    problem_->setVisible(none);
    updateCaption();
}

void SpriteOverviewWindow::updateCaption()
{
    const int shown = static_cast<int>(grid_->sprites().size());
    setWindowTitle(state_.romOpen() ? tr("Sprites \u2014 %1 of %2").arg(shown).arg(kSpriteCount) : tr("Sprites"));
    grid_->setAccessibleDescription(
        grid_->cursorSprite() < 0
            ? tr("Shows %1 of %2 sprites.").arg(shown).arg(kSpriteCount)
            : tr("Shows %1 of %2 sprites; the cursor is on sprite %3.").arg(shown).arg(kSpriteCount).arg(grid_->cursorSprite()));
}

void SpriteOverviewWindow::showAndRaise()
{
    if (!placed_ && parentWidget()) {
        // First shown with no saved place: left of the main window, as the
        // Large View goes to its right, narrowed to the room there.
        placeBeside(*this, *parentWidget(), Side::Left, true);
        placed_ = true;
    }
    show();
    raise();
    activateWindow(); // without a window manager nothing else gives it the keys
    if (stale_) refilter();
    if (state_.hasSprite()) grid_->setCursorToSprite(state_.currentSprite);
    filterBox_->setFocus(Qt::ShortcutFocusReason);
    filterBox_->selectAll();
    repaintNow();
}

void SpriteOverviewWindow::repaintNow()
{
    if (!isVisible()) return; // showAndRaise brings it up to date
    const int current = state_.hasSprite() ? state_.currentSprite : -1;
    if (current == paintedCurrent_ && state_.document.editGeneration == paintedGeneration_ &&
        samePalettes(state_.document.displayPalettes, paintedPalettes_)) {
        grid_->refreshSprite(current); // an edit in progress on the current sprite
        return;
    }
    paintedCurrent_ = current;
    paintedGeneration_ = state_.document.editGeneration;
    paintedPalettes_ = state_.document.displayPalettes;
    grid_->refreshAll();
}

void SpriteOverviewWindow::marksChanged()
{
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    refilter();
}

void SpriteOverviewWindow::romChanged()
{
    stale_ = true;
    if (isVisible()) refilter();
    updateCaption();
}

void SpriteOverviewWindow::showMenu(int sprite, QPoint globalPos)
{
    QMenu menu(this);
    QAction* name = menu.addAction(tr("&Name Sprite\u2026"));
    QAction* star = menu.addAction(tr("Toggle &Star"));
    name->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&SpriteOverviewWindow::nameRequested)));
    star->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&SpriteOverviewWindow::starRequested)));
    QAction* picked = menu.exec(globalPos);
    if (picked == name) emit nameRequested(sprite);
    else if (picked == star) emit starRequested(sprite);
}

bool SpriteOverviewWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Up, Down, PageUp and PageDown move the grid's cursor from the filter
    // box too; the keys along the text stay with the box.
    if (watched == filterBox_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: QCoreApplication::sendEvent(grid_, event); return true;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SpriteOverviewWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) return hide();
    QWidget::keyPressEvent(event);
}

void SpriteOverviewWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous()) saveSettings();
}

void SpriteOverviewWindow::loadSettings()
{
    if (!settingsFileUsable(settingsFile_)) return;
    QSettings settings(settingsFile_, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return;
    settings.beginGroup(kGroup);
    setScale(settings.value(QStringLiteral("scale"), 1).toInt());
    placed_ = readWindowPlace(settings, *this);
}

void SpriteOverviewWindow::saveSettings() const
{
    if (!settingsFileUsable(settingsFile_)) return;
    QSettings settings(settingsFile_, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) return; // a damaged file stays for its owner to mend
    settings.beginGroup(kGroup);
    writeWindowPlace(settings, *this);
    settings.setValue(QStringLiteral("scale"), scale());
    settings.endGroup();
    settings.sync();
}

} // namespace tessel
