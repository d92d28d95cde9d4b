#include "window/patch_command.h"

#include <QCoreApplication>
#include "interchange/patch_edits.h"
#include "model/edit_marks.h"
#include "editor/sprite_selection.h"
#include "rom/rom_session.h"
#include "selection/selection.h"
#include "tools/undo.h"
#include "widgets/local_path.h"
#include "widgets/rom_conversation.h"
#include "widgets/user_prompts.h"

namespace tessel {

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

QString numberList(const std::vector<int>& numbers)
{
    QStringList parts;
    for (int n : numbers) parts << QString::number(n);
    return parts.join(QStringLiteral(", "));
}

// The patched ROM to a new file of the user's choosing.
void savePatchedCopy(const PatchCommandContext& c, const PatchedRom& patched, const QString& patchName)
{
    const std::string why = otherBytesRefusal(patched, "choose a new file for the patched ROM.");
    c.prompts.information(c.window, text(why));
    const QString out = c.prompts.saveFilePath(c.window, QCoreApplication::translate("PatchCommand", "Save the Patched ROM As"),
                                               QCoreApplication::translate("PatchCommand", "ROM images (*.smc *.sfc);;All files (*)"));
    if (out.isEmpty()) return;
    const std::string path = localPathOf(out);
    if (IoResult r = writePatchedCopy(path, c.state.document.romFile.path(), patched); !r) {
        c.prompts.error(c.window, text(r.error));
        return;
    }
    c.showStatus(QCoreApplication::translate("PatchCommand", "Wrote %1: the ROM with %2 applied").arg(romDisplayName(path), patchName));
}

// Each changed palette written as Apply Changes writes it; false once one
// could not be (the user has been told).
bool writePatchedPalettes(const PatchCommandContext& c, const PatchedRom& patched)
{
    RomDocument& document = c.state.document;
    for (int p : patched.effect.palettes) {
        const RawPalette colours = patchedPalette(document, patched, p);
        const SaveResult written = c.conversation.write(
            c.window, document.romFile.path(),
            [&](const SaveOptions& options) { return writePalette(document, p, colours, options); },
            c.backupBeforeWrite);
        if (RomConversation::alreadyTold(written)) return false;
        if (!written.ok) {
            c.prompts.error(c.window, QCoreApplication::translate("PatchCommand", "Palette %1 could not be written to the ROM: %2")
                                          .arg(p)
                                          .arg(text(written.error)));
            return false;
        }
        if (IoResult r = loadPalette(document, p); !r) {
            c.prompts.error(c.window, QCoreApplication::translate("PatchCommand", "Palette %1 was written but could not be read back: %2")
                                          .arg(p)
                                          .arg(text(r.error)));
            return false;
        }
    }
    return true;
}

} // namespace

void applyPatchCommand(const PatchCommandContext& c)
{
    EditorState& state = c.state;
    const QString path = c.prompts.openFilePath(c.window, QCoreApplication::translate("PatchCommand", "Apply Patch"),
                                                QCoreApplication::translate("PatchCommand", "Patches (*.bps *.ips);;All files (*)"));
    if (path.isEmpty()) return;
    const auto patched = patchOpenRom(state.document, localPathOf(path));
    if (!patched) {
        c.prompts.error(c.window, text(patched.error));
        return;
    }
    const PatchEffect& effect = patched.value.effect;
    const QString patchName = romDisplayName(localPathOf(path));
    if (!effect.onlyArt()) {
        savePatchedCopy(c, patched.value, patchName);
        return;
    }
    if (effect.sprites.empty() && effect.palettes.empty()) {
        c.prompts.information(c.window, QCoreApplication::translate("PatchCommand", "%1 changes nothing in this ROM.").arg(patchName));
        return;
    }
    if (!effect.sprites.empty()) {
        // A floating block is put down first, so that the patch replaces what the user sees.
        if (state.selection.selectionFloating) commitSelection(state);
        state.selection.selectionRect.setEmpty();
        takePatchedSprites(state.document, patched.value, [&state](int sprite) {
            if (sprite == state.currentSprite) pushUndoSnapshot(state);
        });
        noteEditEnded(state.document);
    }
    bool palettesWritten = false;
    if (!effect.palettes.empty() &&
        c.prompts.askYesNo(c.window, QCoreApplication::translate("PatchCommand", "%1 also changes palette %2. Write %3 into the ROM now, as "
                                                    "Apply Changes in the palette editor does?")
                                         .arg(patchName, numberList(effect.palettes),
                                              effect.palettes.size() == 1 ? QCoreApplication::translate("PatchCommand", "it")
                                                                          : QCoreApplication::translate("PatchCommand", "them"))))
        palettesWritten = writePatchedPalettes(c, patched.value);
    if (state.hasSprite()) loadSpritePalette(state);
    repaintCanvas(state);
    QString done = QCoreApplication::translate("PatchCommand", "Applied %1").arg(patchName);
    if (!effect.sprites.empty())
        done += QCoreApplication::translate("PatchCommand", ": %1 edited, to be saved by Save All")
                    .arg(effect.sprites.size() == 1 ? QCoreApplication::translate("PatchCommand", "1 sprite")
                                                    : QCoreApplication::translate("PatchCommand", "%1 sprites").arg(effect.sprites.size()));
    if (palettesWritten)
        done += QCoreApplication::translate("PatchCommand", "%1palette %2 written").arg(effect.sprites.empty() ? ": " : "; ", numberList(effect.palettes));
    c.showStatus(done);
}

} // namespace tessel
