#include "window/interchange_commands.h"

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "interchange/art_exchange.h"
#include "interchange/clipboard_picture.h"
#include "file/durable_file.h"
#include "file/file_access.h"
#include "file/path_names.h"
#include "interchange/patch_formats.h"
#include "interchange/sprite_png.h"
#include "interchange/sprite_sheet.h"
#include "model/command_ids.h"
#include "model/edit_marks.h"
#include "rom/rom_backup.h"
#include "rom/rom_session.h"
#include "widgets/local_path.h"
#include "widgets/user_prompts.h"

namespace tessel {

namespace {

const QString kPngFilter = QStringLiteral("PNG pictures (*.png)");
const char kPngMime[] = "image/png";

QString text(const std::string& s) { return QString::fromStdString(s); }

void tell(QWidget* window, UserPrompts& prompts, const IoResult& r)
{
    if (!r.ok) prompts.error(window, text(r.error));
}

void exportSprite(QWidget* window, EditorState& state, UserPrompts& prompts)
{
    const QString path = prompts.saveFilePath(window, QStringLiteral("Export Sprite as PNG"), kPngFilter);
    if (path.isEmpty()) return;
    const SpriteRecord& sprite = state.current();
    tell(window, prompts,
         writeExport(localPathWithExtension(path, ".png"), state.document.romFile.path(),
                     exportSpritePng(spriteViewOf(sprite), state.document.displayPalettes[sprite.paletteIndex])));
}

void importSprite(QWidget* window, EditorState& state, UserPrompts& prompts)
{
    const QString path = prompts.openFilePath(window, QStringLiteral("Import Sprite from PNG"), kPngFilter);
    if (path.isEmpty()) return;
    const auto imported = importSpriteFile(state, state.currentSprite, localPathOf(path));
    if (!imported.ok) {
        prompts.error(window, text(imported.error));
        return;
    }
    noteEditEnded(state.document);
    repaintCanvas(state);
}

void exportSheet(QWidget* window, EditorState& state, UserPrompts& prompts)
{
    const QString path = prompts.saveFilePath(window, QStringLiteral("Export All Sprites as Sheet"), kPngFilter);
    if (path.isEmpty()) return;
    tell(window, prompts,
         writeExport(localPathWithExtension(path, ".png"), state.document.romFile.path(),
                     exportSheetPng(spriteViewsOf(state.document.spriteStore), state.document.displayPalettes)));
}

void importSheet(QWidget* window, EditorState& state, UserPrompts& prompts)
{
    const QString path = prompts.openFilePath(window, QStringLiteral("Import Sheet"), kPngFilter);
    if (path.isEmpty()) return;
    const auto imported = importSheetFile(state, localPathOf(path));
    if (!imported.ok) {
        prompts.error(window, text(imported.error));
        return;
    }
    noteEditEnded(state.document);
    repaintCanvas(state);
    prompts.information(window, text(imported.value.message));
}

// The backup of this ROM made before this run first wrote it, offered as
// the clean ROM; empty while there is none.
QString backupOfThisRun(const EditorState& state)
{
    return QFile::decodeName(QByteArray::fromStdString(backupMadeThisRun(state.document.romFile.key())));
}

void createPatch(QWidget* window, EditorState& state, UserPrompts& prompts)
{
    QString clean = backupOfThisRun(state);
    if (!clean.isEmpty() &&
        !prompts.askYesNo(window, QStringLiteral("Make the patch from the backup made before this ROM "
                                                 "was first written?\n\n%1")
                                      .arg(clean)))
        clean.clear();
    if (clean.isEmpty())
        clean = prompts.openFilePath(window, QStringLiteral("Clean ROM to make the patch from"),
                                     QStringLiteral("ROM images (*.smc *.sfc);;All files (*)"));
    if (clean.isEmpty()) return;
    const QString out = prompts.saveFilePath(window, QStringLiteral("Create Patch"),
                                             QStringLiteral("BPS patches (*.bps);;IPS patches (*.ips)"));
    if (out.isEmpty()) return;
    const IoResult patched = exportPatch(localPathWithExtension(out, ".bps"), localPathOf(clean), state.document.romFile.path());
    if (!patched.ok) {
        prompts.error(window, text(patched.error));
        return;
    }
    if (hasUnsavedEdits(state.document))
        prompts.information(window, QStringLiteral("The patch holds the ROM file as saved; the edits not "
                                                   "yet saved are not in it."));
}

void copyAsImage(QWidget* window, EditorState& state, UserPrompts& prompts)
{
    const auto png = copyAsPicture(state);
    if (!png.ok) {
        prompts.error(window, text(png.error));
        return;
    }
    const QByteArray bytes(reinterpret_cast<const char*>(png.value.data()), static_cast<qsizetype>(png.value.size()));
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kPngMime), bytes);
    data->setImageData(QImage::fromData(bytes, "PNG"));
    QGuiApplication::clipboard()->setMimeData(data);
}

void pasteImage(QWidget* window, EditorState& state, UserPrompts& prompts)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QByteArray bytes;
    if (data && data->hasFormat(QString::fromLatin1(kPngMime))) {
        bytes = data->data(QString::fromLatin1(kPngMime));
    } else if (data && data->hasImage()) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        qvariant_cast<QImage>(data->imageData()).convertToFormat(QImage::Format_RGBA8888).save(&buffer, "PNG");
    } else {
        prompts.error(window, QStringLiteral("The clipboard holds no picture."));
        return;
    }
    tell(window, prompts,
         pastePicture(state, std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                       static_cast<std::size_t>(bytes.size()))));
}

} // namespace

bool runInterchangeCommand(QWidget* window, EditorState& state, UserPrompts& prompts, int id)
{
    using namespace ids;
    void (*command)(QWidget*, EditorState&, UserPrompts&) = nullptr;
    switch (id) {
    case ExportSpritePng: command = exportSprite; break;
    case ImportSpritePng: command = importSprite; break;
    case ExportSheet: command = exportSheet; break;
    case ImportSheet: command = importSheet; break;
    case CreatePatch: command = createPatch; break;
    case CopyAsImage: command = copyAsImage; break;
    case PasteImage: command = pasteImage; break;
    default: return false;
    }
    // Every one of them works on the open ROM's sprites.
    if (state.romOpen() && state.hasSprite()) command(window, state, prompts);
    return true;
}

} // namespace tessel
