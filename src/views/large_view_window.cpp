#include "views/large_view_window.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/mouse.h"
#include "model/command_ids.h"
#include "selection/tool_choice.h"
#include "widgets/window_place.h"

namespace tessel {

namespace {
constexpr QSize kDefaultSize{560, 520};
constexpr QSize kMinimumSize{200, 160};

Point pointOf(QPoint p) { return {p.x(), p.y()}; }
} // namespace

LargeViewWindow::LargeViewWindow(EditorState& state, std::function<QCursor(int)> cursorOf,
                                 const QString& settingsFile, QWidget* owner)
    : QWidget(owner, Qt::Window), state_(state), cursorOf_(std::move(cursorOf)), settingsFile_(settingsFile)
{
    setWindowTitle(tr("Large View"));
    setObjectName(QStringLiteral("largeView"));
    setMinimumSize(kMinimumSize);
    resize(kDefaultSize);

    canvas_ = new LargeViewCanvas(state_, this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("largeViewStatus"));
    // A long status text is cut, never a reason for the window to widen.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    zoomBox_ = new QSpinBox(this);
    zoomBox_->setObjectName(QStringLiteral("largeViewZoom"));
    zoomBox_->setRange(kMinViewZoom, kMaxViewZoom);
    zoomBox_->setSuffix(QStringLiteral("\u00d7"));
    zoomBox_->setToolTip(tr("Zoom (Ctrl+wheel, Ctrl+plus, Ctrl+minus)"));
    fitButton_ = new QToolButton(this);
    fitButton_->setText(tr("Fit"));
    fitButton_->setToolTip(tr("The largest zoom that shows the whole sprite (Ctrl+0)"));
    fitButton_->setCheckable(true);
    zoomBox_->setAccessibleName(tr("Zoom"));

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    bar->addWidget(status_, 1);
    bar->addWidget(new QLabel(tr("Zoom:"), this));
    bar->addWidget(zoomBox_);
    bar->addWidget(fitButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(canvas_, 1);
    layout->addLayout(bar);

    connect(zoomBox_, &QSpinBox::valueChanged, this, [this](int zoom) {
        if (zoom != shownZoom()) setZoom(zoom);
    });
    connect(fitButton_, &QToolButton::clicked, this, [this] { setZoom(0); });
    connect(canvas_, &LargeViewCanvas::zoomStep, this, &LargeViewWindow::zoomBy);
    connect(canvas_, &LargeViewCanvas::pressed, this, &LargeViewWindow::onPress);
    connect(canvas_, &LargeViewCanvas::moved, this, &LargeViewWindow::onMove);
    connect(canvas_, &LargeViewCanvas::released, this, &LargeViewWindow::onRelease);
    connect(canvas_, &LargeViewCanvas::pointerLeft, this, [this] {
        pointerInside_ = false;
        updateStatus();
    });
    dragCursor_ = ids::ArrowCursor;
    loadSettings();
    layoutChanged();
}

LargeViewWindow::~LargeViewWindow()
{
    if (isVisible()) saveSettings();
}

int LargeViewWindow::shownZoom() const
{
    if (chosenZoom_ != 0) return chosenZoom_;
    const ZoomedLayout l = canvas_->layoutAt(1);
    return fittingZoom(l.viewWidth, l.viewHeight, l.spriteWidth, l.spriteHeight);
}

void LargeViewWindow::setZoom(int zoom)
{
    chosenZoom_ = zoom == 0 ? 0 : clampViewZoom(zoom);
    layoutChanged();
    repaintNow();
}

void LargeViewWindow::zoomBy(int steps) { setZoom(clampViewZoom(shownZoom() + steps)); }

void LargeViewWindow::setPixelGrid(bool shown)
{
    grids_.pixel = shown;
    layoutChanged();
    repaintNow();
}

void LargeViewWindow::setTileGrid(bool shown)
{
    grids_.tile = shown;
    layoutChanged();
    repaintNow();
}

void LargeViewWindow::layoutChanged()
{
    const int zoom = shownZoom();
    canvas_->setZoomAndGrids(zoom, grids_);
    const QSignalBlocker quiet(zoomBox_);
    zoomBox_->setValue(zoom);
    fitButton_->setChecked(chosenZoom_ == 0);
}

void LargeViewWindow::repaintNow()
{
    // Called after every change the canvas shows: a hidden view does nothing
    // here, and showAndRaise brings it up to date when it shows again.
    if (!isVisible()) return;
    // The fitting zoom follows the sprite's size.
    layoutChanged();
    updateStatus();
    if (!isMinimized()) canvas_->repaint();
}

QString LargeViewWindow::statusText() const
{
    if (!state_.romOpen() || !state_.hasSprite()) return QString();
    if (pointerInside_) {
        const std::string pixel =
            pixelUnderPointerText(state_, spritePixelAt(canvas_->layoutAt(shownZoom()), pointOf(pointer_)));
        if (!pixel.empty()) return QString::fromStdString(pixel);
    }
    const SpriteRecord& r = state_.current();
    return tr("Sprite %1: %2 \u00d7 %3 pixels at %4\u00d7")
        .arg(state_.currentSprite)
        .arg(r.widthPixels())
        .arg(r.heightPixels())
        .arg(shownZoom());
}

void LargeViewWindow::updateStatus()
{
    status_->setText(statusText());
    setWindowTitle(state_.romOpen() && state_.hasSprite()
                       ? tr("Large View \u2014 Sprite %1").arg(state_.currentSprite)
                       : tr("Large View"));
}

void LargeViewWindow::showAndRaise()
{
    if (!placed_ && parentWidget()) {
        // First shown with no saved place: right of the main window, moved
        // left as far as needed to stay on the main window's screen.
        placeBeside(*this, *parentWidget(), Side::Right);
        placed_ = true;
    }
    show();
    raise();
    activateWindow(); // without a window manager nothing else gives it the keys
    canvas_->setFocus();
    repaintNow();
}

void LargeViewWindow::refreshCursor()
{
    int cursor = cursorFor(state_);
    if (!state_.gesture.leftDragging && !state_.gesture.rightDragging)
        dragCursor_ = cursor;
    else if (cursor == ids::ArrowCursor)
        cursor = dragCursor_; // off the sprite during a drag: the tool's pointer stays
    if (cursorOf_) canvas_->setCursor(cursorOf_(cursor));
}

void LargeViewWindow::onPress(QPoint view, Qt::MouseButton button, bool doubleClick)
{
    const Point pixel = spritePixelAt(canvas_->layoutAt(shownZoom()), pointOf(view));
    const Point at = canvasPointOf(pixel);
    if (button == Qt::LeftButton) {
        // As on the canvas, the second press of a double click counts as
        // one only on the pixel of the first.
        if (doubleClick && pixel.x == lastPressPixel_.x && pixel.y == lastPressPixel_.y)
            onLeftButtonDoubleClick(state_, at);
        else
            onLeftButtonDown(state_, at);
    } else if (button == Qt::RightButton) {
        onRightButtonDown(state_, at);
    }
    lastPressPixel_ = pixel;
    refreshCursor();
}

void LargeViewWindow::onMove(QPoint view)
{
    pointer_ = view;
    pointerInside_ = true;
    onMouseMove(state_, canvasPointOf(spritePixelAt(canvas_->layoutAt(shownZoom()), pointOf(view))));
    refreshCursor();
    updateStatus();
}

void LargeViewWindow::onRelease(Qt::MouseButton button)
{
    if (button == Qt::LeftButton) onLeftButtonUp(state_);
    else if (button == Qt::RightButton) onRightButtonUp(state_);
    refreshCursor();
}

void LargeViewWindow::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: // the plus key unshifted
        if (ctrl) return zoomBy(1);
        break;
    case Qt::Key_Minus:
        if (ctrl) return zoomBy(-1);
        break;
    case Qt::Key_0:
        if (ctrl) return setZoom(0);
        break;
    case Qt::Key_Escape: hide(); return;
    default: break;
    }
    QWidget::keyPressEvent(event);
}

void LargeViewWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutChanged();
    updateStatus();
}

void LargeViewWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous()) saveSettings();
}

} // namespace tessel
