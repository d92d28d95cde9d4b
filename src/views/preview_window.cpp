#include "views/preview_window.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "interchange/sprite_list.h"
#include "model/work_surface.h"

namespace tessel {

// The frame, centred on black at the chosen zoom.
class PreviewCanvas final : public QWidget {
public:
    explicit PreviewCanvas(PreviewWindow* window) : QWidget(window), window_(window)
    {
        setObjectName(QStringLiteral("previewCanvas"));
        setMinimumSize(kBufferWidth, kBufferHeight);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAccessibleName(PreviewWindow::tr("Animation"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        const int sprite = window_->shownSprite();
        if (sprite < 0) return;
        const EditorState& state = window_->state_;
        const SpriteRecord& record = state.document.spriteStore[sprite];
        const int w = std::clamp(record.widthPixels(), 0, kBufferWidth);
        const int h = std::clamp(record.heightPixels(), 0, kBufferHeight);
        if (w == 0 || h == 0) return;
        renderPixels(record.pixels, w, h, state.document.displayPalettes[record.paletteIndex & 31], surface_);
        const QImage image(reinterpret_cast<const uchar*>(surface_.data()), kBufferWidth, kBufferHeight,
                           kBufferWidth * int(sizeof(Rgb)), QImage::Format_RGB888);
        const int zoom = window_->zoom_->value();
        const QRect target((width() - w * zoom) / 2, (height() - h * zoom) / 2, w * zoom, h * zoom);
        painter.drawImage(target, image, QRect(0, 0, w, h)); // no smoothing: whole pixels
    }

private:
    PreviewWindow* window_;
    WorkSurface surface_{};
};

PreviewWindow::PreviewWindow(const EditorState& state, QWidget* owner) : QWidget(owner, Qt::Window), state_(state)
{
    setObjectName(QStringLiteral("previewWindow"));
    setWindowTitle(tr("Preview"));
    setMinimumSize(240, 200);
    resize(360, 360);

    list_ = new QLineEdit(this);
    list_->setObjectName(QStringLiteral("previewList"));
    list_->setMaxLength(static_cast<int>(kMaxListText));
    list_->setPlaceholderText(tr("sprites to play, such as 18-21,30"));
    list_->setAccessibleName(tr("Sprites to play"));
    list_->setAccessibleDescription(tr("Sprite numbers and ranges separated by commas, such as 18-21,30"));
    fps_ = new QSpinBox(this);
    fps_->setObjectName(QStringLiteral("previewFps"));
    fps_->setRange(kMinPreviewFps, kMaxPreviewFps);
    fps_->setSuffix(tr(" fps"));
    fps_->setAccessibleName(tr("Frames per second"));
    zoom_ = new QSpinBox(this);
    zoom_->setObjectName(QStringLiteral("previewZoom"));
    zoom_->setRange(kMinPreviewZoom, kMaxPreviewZoom);
    zoom_->setSuffix(QStringLiteral("\u00d7"));
    zoom_->setAccessibleName(tr("Zoom"));
    play_ = new QPushButton(tr("&Pause"), this);
    play_->setObjectName(QStringLiteral("previewPlay"));
    play_->setCheckable(true);
    play_->setChecked(true);
    play_->setAccessibleName(tr("Play or pause"));
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("previewMessage"));
    message_->setWordWrap(true);
    frameLabel_ = new QLabel(this);
    frameLabel_->setObjectName(QStringLiteral("previewFrame"));
    canvas_ = new PreviewCanvas(this);

    auto* listRow = new QHBoxLayout;
    auto* listLabel = new QLabel(tr("&Sprites:"), this);
    listLabel->setBuddy(list_);
    listRow->addWidget(listLabel);
    listRow->addWidget(list_, 1);
    auto* controls = new QHBoxLayout;
    auto* speedLabel = new QLabel(tr("Sp&eed:"), this);
    speedLabel->setBuddy(fps_);
    auto* zoomLabel = new QLabel(tr("&Zoom:"), this);
    zoomLabel->setBuddy(zoom_);
    controls->addWidget(speedLabel);
    controls->addWidget(fps_);
    controls->addWidget(zoomLabel);
    controls->addWidget(zoom_);
    controls->addStretch(1);
    controls->addWidget(play_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(listRow);
    layout->addLayout(controls);
    layout->addWidget(message_);
    layout->addWidget(canvas_, 1);
    layout->addWidget(frameLabel_);

    setSettings(PreviewSettings{});
    connect(list_, &QLineEdit::textChanged, this, [this] {
        listEdited();
        emit settingsChanged();
    });
    connect(fps_, &QSpinBox::valueChanged, this, [this] {
        updateTimer();
        emit settingsChanged();
    });
    connect(zoom_, &QSpinBox::valueChanged, this, [this] {
        canvas_->update();
        emit settingsChanged();
    });
    connect(play_, &QPushButton::toggled, this, [this] {
        play_->setText(play_->isChecked() ? tr("&Pause") : tr("&Play"));
        updateTimer();
    });
    connect(&timer_, &QTimer::timeout, this, &PreviewWindow::advance);
}

void PreviewWindow::setSettings(const PreviewSettings& settings)
{
    const QSignalBlocker quietList(list_), quietFps(fps_), quietZoom(zoom_);
    list_->setText(QString::fromStdString(settings.sprites));
    fps_->setValue(settings.fps);
    zoom_->setValue(settings.zoom);
    listEdited();
}

PreviewSettings PreviewWindow::settings() const
{
    return {list_->text().toStdString(), fps_->value(), zoom_->value()};
}

void PreviewWindow::setPlaying(bool playing) { play_->setChecked(playing); }
bool PreviewWindow::playing() const { return play_->isChecked(); }

void PreviewWindow::listEdited()
{
    const SpriteList list = parseSpriteList(list_->text().toStdString());
    const QString item = QString::fromStdString(list.item);
    switch (list.fault) {
    case ListFault::None:
        message_->clear(); // an empty list: the box's placeholder says what to type
        break;
    case ListFault::NotANumber:
        message_->setText(tr("\u201c%1\u201d is neither a sprite number nor a range such as 18-21.").arg(item));
        break;
    case ListFault::OutOfRange:
        message_->setText(tr("\u201c%1\u201d names a sprite that does not exist (they are 0 to %2).")
                              .arg(item)
                              .arg(kSpriteCount - 1));
        break;
    case ListFault::EmptyItem: message_->setText(tr("There is nothing between two commas, or after one.")); break;
    case ListFault::TooManyFrames: message_->setText(tr("The list has more than %1 frames.").arg(kMaxListFrames)); break;
    case ListFault::TooLong: message_->setText(tr("The list is too long.")); break;
    }
    message_->setVisible(!message_->text().isEmpty());
    frames_ = list.frames;
    frame_ = 0;
    updateTimer();
    showFrame();
}

int PreviewWindow::shownSprite() const
{
    if (!state_.romOpen() || frames_.empty()) return -1;
    return frames_[std::min(frame_, frames_.size() - 1)];
}

QString PreviewWindow::listMessage() const { return message_->text(); }

void PreviewWindow::advance()
{
    if (frames_.empty()) return;
    frame_ = (frame_ + 1) % frames_.size();
    showFrame();
}

void PreviewWindow::updateTimer()
{
    const bool run = isVisible() && !isMinimized() && state_.romOpen() && playing() && !frames_.empty();
    timer_.setInterval(1000 / std::max(1, fps_->value()));
    if (run && !timer_.isActive()) timer_.start();
    else if (!run) timer_.stop();
}

void PreviewWindow::updateTexts()
{
    const int sprite = shownSprite();
    frameLabel_->setText(sprite < 0 ? QString()
                                    : tr("Frame %1 of %2: sprite %3")
                                          .arg(frame_ + 1)
                                          .arg(frames_.size())
                                          .arg(sprite));
    const QString list = list_->text().trimmed();
    setWindowTitle(frames_.empty() ? tr("Preview") : tr("Preview \u2014 Sprites %1").arg(list));
    canvas_->setAccessibleDescription(sprite < 0 ? tr("Nothing playing") : frameLabel_->text());
}

void PreviewWindow::repaintNow()
{
    // An edit changes the pixels, never the frame or the list, so the texts
    // stay as they are on the canvas's every repaint.
    if (isVisible() && !isMinimized()) canvas_->update();
}

void PreviewWindow::showFrame()
{
    updateTexts();
    repaintNow();
}

void PreviewWindow::romChanged()
{
    if (!state_.romOpen()) hide();
    frame_ = 0;
    updateTimer();
    showFrame();
}

void PreviewWindow::showAndRaise()
{
    if (!placed_ && parentWidget()) {
        const QRect owner = parentWidget()->window()->frameGeometry();
        move(owner.left() + 40, owner.top() + 40);
        placed_ = true;
    }
    show();
    raise();
    activateWindow(); // without a window manager nothing else gives it the keys
    list_->setFocus();
    showFrame();
}

void PreviewWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    updateTimer();
}

void PreviewWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    timer_.stop();
    if (!event->spontaneous()) emit hidden();
}

void PreviewWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) updateTimer(); // minimised or back
}

void PreviewWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tessel
