#include "dialogs/history_dialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/history_commands.h"

namespace tessel {

namespace {

constexpr int kIdRole = Qt::UserRole;

QString rowText(const JournalState& s)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(s.time.time_since_epoch()).count();
    return QStringLiteral("%1   %2")
        .arg(QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("HH:mm:ss")),
             QString::fromUtf8(causeName(s.cause)));
}

} // namespace

QImage HistoryDialog::picture(const JournalState& s, const DisplayPalette& palette)
{
    if (s.width <= 0 || s.height <= 0) return {};
    QImage image(s.width, s.height, QImage::Format_RGB32);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const int i = s.pixels[static_cast<std::size_t>(y) * s.width + x] & 15;
            image.setPixel(x, y, qRgb(palette.red[i] & 255, palette.green[i] & 255, palette.blue[i] & 255));
        }
    const int factor = std::max(1, std::min(kBufferWidth / s.width, kBufferHeight / s.height));
    return image.scaled(s.width * factor, s.height * factor);
}

HistoryDialog::HistoryDialog(EditorState& state, QWidget* parent) : QDialog(parent), state_(state)
{
    setWindowTitle(tr("History of Sprite %1").arg(state.currentSprite));
    list_ = new QListWidget(this);
    list_->setIconSize(QSize(kBufferWidth, kBufferHeight));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setMinimumSize(260, 360);
    list_->setAccessibleName(tr("States of sprite %1").arg(state.currentSprite));
    auto* buttons = new QDialogButtonBox(this);
    restore_ = buttons->addButton(tr("&Restore"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    connect(restore_, &QPushButton::clicked, this, [this] { restoreChosen(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this,
            [this](int row) { restore_->setEnabled(row >= 0); });
    reload();
}

void HistoryDialog::reload()
{
    list_->clear();
    for (const JournalState* s : historyStates(state_)) {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(picture(*s, state_.currentDisplayPalette))),
                                         rowText(*s), list_);
        item->setData(kIdRole, QVariant::fromValue<qulonglong>(s->id));
    }
    list_->setCurrentRow(list_->count() - 1);
    restore_->setEnabled(list_->currentRow() >= 0);
    if (QListWidgetItem* last = list_->currentItem()) list_->scrollToItem(last);
}

bool HistoryDialog::restoreChosen()
{
    const QListWidgetItem* item = list_->currentItem();
    if (!item || !restoreHistoryState(state_, item->data(kIdRole).toULongLong())) return false;
    reload();
    return true;
}

} // namespace tessel
