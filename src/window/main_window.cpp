#include "window/main_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "views/large_view_window.h"
#include "views/sprite_overview_window.h"
#include "views/other_rom_window.h"
#include "views/preview_window.h"
#include "window/accessible_names.h"
#include "window/canvas_image.h"
#include "window/client_area.h"
#include "window/editor_settings.h"
#include "window/main_menu.h"
#include "window/names_keeper.h"
#include "widgets/product.h"
#include "window/recent_roms.h"
#include "window/recovery_keeper.h"
#include "window/rom_drop.h"
#include "window/status_line.h"
#include "window/tool_cursors.h"
#include "window/tooltips.h"
#include "window/up_down_control.h"
#include "editor/sprite_selection.h"
#include "model/command_ids.h"
#include "model/edit_marks.h"
#include "rom/rom_session.h"
#include "rom/unsaved_sprites.h"
#include "selection/tool_choice.h"
#include "selection/tool_table.h"
#include "widgets/accessible_text.h"
#include "widgets/color_swatch.h"
#include "widgets/dialog_font.h"
#include "widgets/dialog_units.h"

namespace tessel {

namespace {
constexpr int kClientWidthUnits = 369;
constexpr int kClientHeightUnits = 231;
} // namespace

MainWindow::MainWindow(EditorState& state, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      state_(state), prompts_(prompts), conversation_(prompts), recovery_(std::make_unique<RecoveryKeeper>(state, prompts, this))
{
    QIcon icon(QStringLiteral(":/icons/128.png"));
    icon.addFile(QStringLiteral(":/icons/129.png")); // drawn for 16 x 16
    setWindowIcon(icon);
    setSizeGripEnabled(false);
    setFont(dialogFont(font()));
    conversation_.setSaveCopy([this] { saveCopyCommand(); });

    menuBar_ = createMainMenu(this, actions_);
    recentMenu_ = new RecentRomsMenu([this](const QString& path) { openRecentRom(path); }, this);
    if (auto* fileMenu = qobject_cast<QMenu*>(action(ids::OpenRom)->parent()))
        fileMenu->insertMenu(action(ids::CloseRom), recentMenu_);
    client_ = new ClientArea(state_, this);
    client_->setFixedSize(dialogUnitsToPixelsX(kClientWidthUnits),
                          dialogUnitsToPixelsY(kClientHeightUnits));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(client_);
    status_ = new StatusLine(state_, this);
    names_ = new NamesKeeper(state_, prompts_, this);
    status_->setNames(&names_->names());
    layout->addWidget(status_);
    // The window takes exactly the size of its contents: no resizing.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    controls_ = createMainControls(client_);
    setControlTooltips(controls_);
    addKeyTooltips(controls_);
    nameMainControls(controls_);
    canvasImage_ = new CanvasImage(state_, client_);

    // A right click on a palette swatch makes its index the background.
    for (int i = 0; i < 16; ++i)
        controls_.swatches[i]->bindRightClick(i, &state_.tools.backgroundIndex, controls_.background,
                                              controls_.foreground);
    for (ColorSwatch* indicator : {controls_.foreground, controls_.background})
        indicator->setColor(25, 25, 64, 64, 64, static_cast<int>(SwatchBorder::Black));

    controls_.lineSizeSpin->setRange(0, 32);
    controls_.curveRadiusSpin->setRange(0, 64);
    controls_.fillMode->setCurrentIndex(static_cast<int>(state_.tools.fillMode));
    controls_.lineSize->setText(QString::number(1));
    controls_.curveRadius->setText(QString::number(5));
    controls_.transparent->setChecked(state_.tools.transparentSelection);
    state_.tools.joinedPencilStrokes = readBoolSetting(kJoinedPencilStrokesKey, false);
    action(ids::JoinedPencilStrokes)->setChecked(state_.tools.joinedPencilStrokes);

    createBrowser();
    createLargeView();
    createSpriteOverview();
    createOtherRomWindow();
    connectOverviewTags();
    createPreview();
    connectControls();
    connectMouse();
    connect(client_, &ClientArea::moved, status_, &StatusLine::pointerAt);
    connect(client_, &ClientArea::pointerLeft, status_, &StatusLine::pointerLeft);

    dragCursor_ = ids::ArrowCursor;
    state_.window.view = this;
    updateCaption();
    toolChanged();
    commandsChanged();
    setRomControlsEnabled(state_.romOpen());
    acceptRomDrops(this, [this](const QString& path) {
        if (state_.window.commands.isEnabled(ids::OpenRom)) openRomAt(path);
    });
    state_.window.editorReady = true;
}

MainWindow::~MainWindow()
{
    if (state_.window.view == this) state_.window.view = nullptr;
    state_.window.editorReady = false;
}

void MainWindow::connectControls()
{
    for (auto [id, a] : actions_)
        connect(a, &QAction::triggered, this, [this, a] { runCommand(a->data().toInt()); });
    for (int id : {ids::PreviousSprite, ids::NextSprite, ids::SaveSpriteButton,
                   ids::RefreshSpriteButton, ids::BrowserButton, ids::HFlipButton,
                   ids::VFlipButton}) {
        auto* button = static_cast<QPushButton*>(controls_[id]);
        connect(button, &QPushButton::clicked, this, [this, id] { runCommand(id); });
    }
    connect(controls_.tools, &QButtonGroup::idClicked, this, &MainWindow::runCommand);
    connect(controls_.transparent, &QCheckBox::clicked, this,
            [this] { runCommand(ids::TransparentCheck); });
    connect(controls_.fillMode, &QComboBox::currentIndexChanged, this,
            [this] { runCommand(ids::FillCombo); });
    connect(controls_.spriteNumber, &QLineEdit::textChanged, this, [this](const QString& text) {
        spriteNumberEdited(state_, text.toStdString());
    });
    for (int i = 0; i < 16; ++i)
        connect(controls_.swatches[i], &ColorSwatch::clicked, this,
                [this, i] { runCommand(ids::FirstPaletteSwatch + i); });
}

void MainWindow::setRomControlsEnabled(bool enabled)
{
    const bool readOnly = state_.document.romFile.isReadOnly();
    for (int id : ids::RomControls) controls_[id]->setEnabled(enabled && !(readOnly && writesIntoRom(id)));
}

QAction* MainWindow::action(int commandId) const
{
    auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

const QImage& MainWindow::workSurface() const { return client_->canvasPainter().workSurface(); }

bool MainWindow::takesToolKeys(const QWidget* window) const
{
    return window && (window == this || (largeView_ && window == largeView_));
}

void MainWindow::refreshCursor()
{
    int cursor = cursorFor(state_);
    if (!state_.gesture.leftDragging && !state_.gesture.rightDragging)
        dragCursor_ = cursor;
    else if (cursor == ids::ArrowCursor)
        cursor = dragCursor_; // off the sprite during a drag: the tool's pointer stays
    client_->setCursor(toolCursor(cursor));
}

void MainWindow::showStatus(const QString& text) { status_->showResult(text); }

QString MainWindow::romName() const
{
    if (!state_.romOpen()) return QString();
    return romDisplayName(state_.document.romFile.path());
}

void MainWindow::setPaletteChangesPending(bool pending)
{
    paletteChangesPending_ = pending;
    updateCaption();
}

void MainWindow::updateCaption()
{
    const QString product = QStringLiteral("%1 %2").arg(kProductName, kProductVersion);
    if (!state_.romOpen()) {
        setWindowTitle(product);
        return;
    }
    // The marks are settled at every repaint (rom/unsaved_sprites.h).
    const bool unsaved = editedSpriteCount(state_.document) > 0 || paletteChangesPending_;
    const QString readOnly = state_.document.romFile.isReadOnly() ? tr(" (read-only)") : QString();
    setWindowTitle(tr("%1%2%3 — %4")
                       .arg(unsaved ? QStringLiteral("*") : QString(), romName(), readOnly, product));
}

void MainWindow::romChanged()
{
    updateCaption();
    status_->clearMessage(); // what was written was written to the other ROM
    status_->refresh();
    showBrowserOnCurrentPage();
    if (largeView_ && !state_.romOpen()) largeView_->hide();
    if (overview_) {
        if (!state_.romOpen()) overview_->hide();
        overview_->romChanged();
    }
    if (otherRom_) otherRom_->romReloaded(); // closes it with the ROM
    preview_->romChanged(); // hidden with no ROM, its settings kept first
    if (names_->romChanged()) preview_->setSettings(names_->names().preview);
}

// --- EditorView -------------------------------------------------------------

void MainWindow::repaintCanvas()
{
    // Every change of the current sprite's pixels repaints: its mark (and
    // so the caption) follows what the pixels are now.
    if (state_.hasSprite()) settleSpriteMark(state_.document, state_.currentSprite);
    client_->repaintCanvas();
    canvasImage_->refreshDescription();
    status_->refresh();
    if (largeView_) largeView_->repaintNow(); // the second view of the same change
    if (overview_) overview_->repaintNow();
    if (otherRom_) otherRom_->editorChanged();
    if (preview_) preview_->repaintNow();
}

void MainWindow::editMarksChanged()
{
    updateCaption();
    refreshBrowser();
    if (overview_) overview_->marksChanged();
    recovery_->marksChanged();
}

void MainWindow::commandsChanged()
{
    for (auto [id, a] : actions_) a->setEnabled(state_.window.commands.isEnabled(id));
}

void MainWindow::paletteSwatchesChanged()
{
    const DisplayPalette& p = state_.currentDisplayPalette;
    for (int i = 0; i < 16; ++i)
        controls_.swatches[i]->setColor(36, 15, p.red[i], p.green[i], p.blue[i],
                                        static_cast<int>(SwatchBorder::Sunken));
    if (!state_.hasSprite()) {
        nameSwatches(controls_, nullptr);
        return;
    }
    const RawPalette& raw = state_.document.rawPalettes[state_.current().paletteIndex & 31];
    nameSwatches(controls_, state_.romOpen() ? &raw : nullptr);
    for (int i = 0; i < 16; ++i)
        controls_.swatches[i]->setToolTip(swatchTooltip(i, raw.red[i], raw.green[i], raw.blue[i]));
    for (ColorSwatch* s : controls_.swatches) s->setToolTip(withSwatchKeys(s->toolTip()));
}

void MainWindow::indicatorChanged(int which, Rgb colour)
{
    ColorSwatch* indicator = which == 0 ? controls_.foreground : controls_.background;
    indicator->setColor(25, 25, colour.r, colour.g, colour.b,
                        static_cast<int>(SwatchBorder::Black));
    const int index = which == 0 ? state_.tools.foregroundIndex : state_.tools.backgroundIndex;
    setAccessibleDescriptionIfChanged(indicator, tr("Color %1").arg(index & 15));
}

void MainWindow::spriteNumberChanged(int spriteNumber)
{
    controls_.spriteNumber->setText(QString::number(spriteNumber));
}

void MainWindow::toolChanged()
{
    // While Shift holds the colour picker, the tool it stands in for keeps
    // its button checked beside the picker's.
    const bool standIn = state_.window.shiftHeld && state_.tools.currentTool == ToolId::ColourPicker &&
                         state_.tools.savedTool != ToolId::ColourPicker;
    controls_.tools->setExclusive(false);
    for (QAbstractButton* b : controls_.tools->buttons()) {
        const int id = controls_.tools->id(b);
        b->setChecked(id == buttonIdOf(state_.tools.currentTool) ||
                      (standIn && id == buttonIdOf(state_.tools.savedTool)));
    }
    controls_.tools->setExclusive(!standIn);
    const OptionControls shown = toolEntry(state_.tools.currentTool).options;
    for (int id : {ids::LineSizeLabel, ids::LineSizeEdit, ids::LineSizeSpin})
        controls_[id]->setVisible(shown.lineSize);
    for (int id : {ids::FillLabel, ids::FillCombo}) controls_[id]->setVisible(shown.fill);
    for (int id : {ids::CurveRadiusLabel, ids::CurveRadiusEdit, ids::CurveRadiusSpin})
        controls_[id]->setVisible(shown.curveRadius);
    controls_.transparent->setVisible(shown.transparent);
    if (largeView_) largeView_->refreshCursor();
}

int MainWindow::lineSize() { return parseDialogInt(controls_.lineSize->text().toStdString()); }

int MainWindow::curveRadius()
{
    return parseDialogInt(controls_.curveRadius->text().toStdString());
}

// --- Window events ----------------------------------------------------------

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape and Enter would end the dialog and lose unsaved edits; the
    // window ends only through Exit or its close button. Enter still
    // clicks a push button that has the focus (the button handles it).
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!mayDiscardEdits()) {
        event->ignore();
        return;
    }
    recovery_->editsDiscarded(); // or saved: either way nothing is left to recover
    hideBrowser();
    if (largeView_) largeView_->hide();
    if (overview_) overview_->hide();
    if (otherRom_) otherRom_->hide();
    preview_->hide();
    names_->flushPreview();
    QDialog::closeEvent(event);
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    // The browser does not follow the window; it is hidden until placed
    // again by its button.
    if (state_.window.editorReady) hideBrowser();
}

} // namespace tessel
