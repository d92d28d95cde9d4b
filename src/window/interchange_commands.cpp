#include "window/interchange_commands.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QRegularExpression>

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
#include "widgets/file_choices.h"
#include "widgets/local_path.h"
#include "widgets/user_prompts.h"

namespace tessel {

namespace {

QString pngFilter() { return QCoreApplication::translate("InterchangeCommands", "PNG pictures (*.png)"); }
const char kPngMime[] = "image/png";

QString text(const std::string& s) { return QString::fromStdString(s); }

void tell(QWidget* window, UserPrompts& prompts, const IoResult& r)
{
    if (!r.ok) prompts.error(window, text(r.error));
}

QString fileName(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(baseName(path))); }

QString stemOf(const EditorState& state)
{
    return QFile::decodeName(QByteArray::fromStdString(romStem(state.document.romFile.path())));
}

// The result in the status bar, or the failure in a box; true when done.
bool report(QWidget* window, UserPrompts& prompts, const IoResult& r, const QString& done)
{
    if (!r.ok) {
        prompts.error(window, text(r.error));
        return false;
    }
    showStatusResult(window, done);
    return true;
}

void exportSprite(QWidget* window, EditorState& state, UserPrompts& prompts)
{
    const std::string& rom = state.document.romFile.path();
    const QString suggested =
        QStringLiteral("%1-sprite-%2.png").arg(stemOf(state)).arg(state.currentSprite, 4, 10, QLatin1Char('0'));
    const std::string path = askSavePath(prompts, window, FileKind::Picture, QCoreApplication::translate("InterchangeCommands", "Export Sprite as PNG"),
                                         pngFilter(), rom, suggested);
    if (path.empty()) return;
    const SpriteRecord& sprite = state.current();
    report(window, prompts,
           writeExport(path, rom,
                       exportSpritePng(spriteViewOf(sprite), state.document.displayPalettes[sprite.paletteIndex])),
           QCoreApplication::translate("InterchangeCommands", "Sprite %1 written to %2").arg(state.currentSprite).arg(fileName(path)));
}

void importSprite(QWidget* window, EditorState& state, UserPrompts& prompts)
{
    const std::string path = askOpenPath(prompts, window, FileKind::Picture, QCoreApplication::translate("InterchangeCommands", "Import Sprite from PNG"),
                                         pngFilter(), state.document.romFile.path());
    if (path.empty()) return;
    const auto imported = importSpriteFile(state, state.currentSprite, path);
    if (!imported.ok) {
        prompts.error(window, text(imported.error));
        return;
    }
    noteEditEnded(state.document);
    repaintCanvas(state);
    showStatusResult(window, QCoreApplication::translate("InterchangeCommands", "Sprite %1 taken from %2%3")
                                 .arg(state.currentSprite)
                                 .arg(fileName(path))
                                 .arg(imported.value.changedSprites.empty() ? QCoreApplication::translate("InterchangeCommands", ": no pixel changed")
                                                                             : QString()));
}

void exportSheet(QWidget* window, EditorState& state, UserPrompts& prompts)
{
    const std::string& rom = state.document.romFile.path();
    const std::string path =
        askSavePath(prompts, window, FileKind::Picture, QCoreApplication::translate("InterchangeCommands", "Export All Sprites as Sheet"), pngFilter(), rom,
                    stemOf(state) + QStringLiteral("-sheet.png"));
    if (path.empty()) return;
    report(window, prompts,
           writeExport(path, rom,
                       exportSheetPng(spriteViewsOf(state.document.spriteStore), state.document.displayPalettes)),
           QCoreApplication::translate("InterchangeCommands", "All %1 sprites written to %2").arg(kSpriteCount).arg(fileName(path)));
}

void importSheet(QWidget* window, EditorState& state, UserPrompts& prompts)
{
    const std::string path = askOpenPath(prompts, window, FileKind::Picture, QCoreApplication::translate("InterchangeCommands", "Import Sheet"), pngFilter(),
                                         state.document.romFile.path());
    if (path.empty()) return;
    const auto imported = importSheetFile(state, path);
    if (!imported.ok) {
        prompts.error(window, text(imported.error));
        return;
    }
    noteEditEnded(state.document);
    repaintCanvas(state);
    showStatusResult(window, QCoreApplication::translate("InterchangeCommands", "%1 from %2").arg(text(imported.value.message), fileName(path)));
    prompts.information(window, text(imported.value.message));
}

const char* const kMonths[] = {QT_TRANSLATE_NOOP("InterchangeCommands", "Jan"), QT_TRANSLATE_NOOP("InterchangeCommands", "Feb"), QT_TRANSLATE_NOOP("InterchangeCommands", "Mar"), QT_TRANSLATE_NOOP("InterchangeCommands", "Apr"), QT_TRANSLATE_NOOP("InterchangeCommands", "May"), QT_TRANSLATE_NOOP("InterchangeCommands", "Jun"), QT_TRANSLATE_NOOP("InterchangeCommands", "Jul"), QT_TRANSLATE_NOOP("InterchangeCommands", "Aug"), QT_TRANSLATE_NOOP("InterchangeCommands", "Sep"), QT_TRANSLATE_NOOP("InterchangeCommands", "Oct"), QT_TRANSLATE_NOOP("InterchangeCommands", "Nov"), QT_TRANSLATE_NOOP("InterchangeCommands", "Dec")};

// "8 Dec, 22:41" from a backup's name, NAME.YYYYMMDD-HHMMSS[-N].bak; empty
// when the name has no such date.
QString backupDate(const std::string& path)
{
    static const QRegularExpression date(
        QStringLiteral("\\.(\\d{4})(\\d{2})(\\d{2})-(\\d{2})(\\d{2})\\d{2}(-\\d+)?\\.bak$"));
    const QRegularExpressionMatch m = date.match(QString::fromStdString(path));
    const int month = m.hasMatch() ? m.captured(2).toInt() : 0;
    if (month < 1 || month > 12) return {};
    return QStringLiteral("%1 %2, %3:%4")
        .arg(m.captured(3).toInt())
        .arg(QCoreApplication::translate("InterchangeCommands", kMonths[month - 1]))
        .arg(m.captured(4), m.captured(5));
}

bool isFile(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

// The clean ROM to compare with, asked in this order: the one chosen for
// this ROM last time; the oldest backup of this ROM, then the newest (each
// named by its date, so that the user sees which saves the patch will
// hold); any file. Empty when the user cancelled.
QString cleanRomFor(QWidget* window, EditorState& state, UserPrompts& prompts, FileChoices& choices)
{
    const std::string& rom = state.document.romFile.path();
    const QString romName = QFile::decodeName(QByteArray::fromStdString(rom));
    const QString remembered = choices.cleanRomFor(romName);
    if (isFile(remembered) &&
        prompts.askYesNo(window,
                         QCoreApplication::translate("InterchangeCommands", "Make the patch from the clean ROM chosen last time?\n\n%1").arg(remembered)))
        return remembered;
    const std::string folder = backupDirectory();
    const std::vector<std::string> backups = backupsOf(folder, backupName(rom));
    std::vector<std::string> offered;
    if (!backups.empty()) offered.push_back(backups.front());
    if (backups.size() > 1) offered.push_back(backups.back());
    for (const std::string& backup : offered) {
        const QString when = backupDate(backup);
        const QString path = QFile::decodeName(QByteArray::fromStdString(folder + "/" + backup));
        const QString question =
            when.isEmpty()
                ? QCoreApplication::translate("InterchangeCommands", "Make the patch from the backup of %1?\n\n%2").arg(fileName(rom), path)
                : QCoreApplication::translate("InterchangeCommands", "Make the patch from the backup of %1 from %2, made before this ROM was first "
                                 "written that day?%3\n\n%4")
                      .arg(fileName(rom), when,
                           offered.size() > 1 && backup == offered.front() ? QCoreApplication::translate("InterchangeCommands", " It is the oldest kept.")
                                                                           : QString(),
                           path);
        if (prompts.askYesNo(window, question)) return path;
    }
    const std::string chosen =
        askOpenPath(prompts, window, FileKind::CleanRom, QCoreApplication::translate("InterchangeCommands", "Clean ROM to make the patch from"),
                    QCoreApplication::translate("InterchangeCommands", "ROM images (*.smc *.sfc);;All files (*)"), rom);
    if (chosen.empty()) return {};
    const QString clean = QFile::decodeName(QByteArray::fromStdString(chosen));
    choices.setCleanRom(romName, clean);
    return clean;
}

void createPatch(QWidget* window, EditorState& state, UserPrompts& prompts)
{
    FileChoices choices;
    const QString clean = cleanRomFor(window, state, prompts, choices);
    if (clean.isEmpty()) return;
    const std::string& rom = state.document.romFile.path();
    const std::string out = askSavePath(prompts, window, FileKind::Patch, QCoreApplication::translate("InterchangeCommands", "Create Patch"),
                                        QCoreApplication::translate("InterchangeCommands", "BPS patches (*.bps);;IPS patches (*.ips)"), rom,
                                        stemOf(state) + QStringLiteral(".bps"));
    if (out.empty()) return;
    if (!report(window, prompts, exportPatch(out, localPathOf(clean), rom),
                QCoreApplication::translate("InterchangeCommands", "Patch written to %1, from %2, without the copier header so that it fits the dump")
                    .arg(fileName(out), QFileInfo(clean).fileName())))
        return;
    if (hasUnsavedEdits(state.document))
        prompts.information(window, QCoreApplication::translate("InterchangeCommands", "The patch holds the ROM file as saved; the edits not "
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
        prompts.error(window, QCoreApplication::translate("InterchangeCommands", "The clipboard holds no picture."));
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
