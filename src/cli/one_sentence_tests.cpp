// The same failure, met through the window's menus and the palette editor
// and through `tessel COMMAND`, is told in the same sentence: the window's
// error message is the command line's one line on stderr after
// "tessel COMMAND: ", and the command exits 1.
#include <QFile>
#include <QPushButton>
#include <cstdio>
#include <unistd.h>

#include "cli/batch_commands.h"
#include "dialogs/palette_editor_dialog.h"
#include "interchange/png_image.h"
#include "model/command_ids.h"
#include "support/synthetic_rom.h"
#include "window/window_test_fixture.h"

namespace tessel::testing {
namespace {

struct Case {
    const char* what;
    int command;        // a window command, or 0 for the palette editor's button
    const char* button; // "paletteImport" or "paletteExport"
    std::vector<std::string> files; // the dialogs' answers, in the scratch folder
    std::vector<std::string> args;  // "ROM" and "@name" as in the dialogs
};

class OneSentence : public WindowTest {
protected:
    std::string file(const std::string& name) const { return dir.filePath(QString::fromStdString(name)).toStdString(); }
    std::string rom() const { return file("game.smc"); }

    // The command line's stderr when it failed with status 1, else why not.
    std::string commandLineSays(std::vector<std::string> args) const
    {
        for (std::string& a : args) a = a == "ROM" ? rom() : a[0] == '@' ? file(a.substr(1)) : a;
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        const int status = runBatchCommand(args, out, err);
        std::string said(4096, '\0');
        std::rewind(err);
        said.resize(std::fread(said.data(), 1, said.size(), err));
        std::fclose(out);
        std::fclose(err);
        if (status != 1) return "exit status " + std::to_string(status) + ": " + said;
        const std::string prefix = "tessel " + args[0] + ": ";
        if (!said.starts_with(prefix) || said.find('\n') != said.size() - 1) return "not one line: " + said;
        return said.substr(prefix.size(), said.size() - prefix.size() - 1);
    }

    // The window's one error message for the same, on one line.
    std::string windowSays(const Case& c)
    {
        prompts.errors.clear();
        for (const std::string& f : c.files) prompts.nextPaths.push_back(QString::fromStdString(file(f)));
        if (c.command) {
            window->runCommand(c.command);
        } else {
            PaletteEditorDialog editor(*state, prompts);
            editor.findChild<QPushButton*>(c.button)->click();
        }
        prompts.nextPaths.clear();
        if (prompts.errors.size() != 1) return "errors: " + prompts.errors.join("|").toStdString();
        return prompts.errors[0].replace('\n', ' ').toStdString();
    }
};

TEST_F(OneSentence, SameFailureSameSentence)
{
    ASSERT_TRUE(writeSyntheticRom(rom()));
    for (const char* link : {"link.png", "link.bps", "link.gpl"})
        ASSERT_EQ(::symlink(rom().c_str(), file(link).c_str()), 0);
    ASSERT_EQ(::link(rom().c_str(), file("hard.png").c_str()), 0);
    const auto small = encodeIndexedPng(2, 2, std::vector<std::uint8_t>(4, 1), std::vector<Rgba>(16)).value;
    for (const auto& [name, bytes] : {std::pair{"small.png", QByteArray(reinterpret_cast<const char*>(small.data()),
                                                                        static_cast<qsizetype>(small.size()))},
                                      std::pair{"garbage.gpl", QByteArray("GIMP\nx")}}) {
        QFile f(QString::fromStdString(file(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }

    using namespace ids;
    const std::vector<Case> cases = {
        {"sprite over the ROM", ExportSpritePng, "", {"game.smc"}, {"export-sprite", "ROM", "0", "ROM"}},
        {"sheet over a link to the ROM", ExportSheet, "", {"link.png"}, {"export-sheet", "ROM", "@link.png"}},
        {"sprite over a hard link to the ROM", ExportSpritePng, "", {"hard.png"},
         {"export-sprite", "ROM", "0", "@hard.png"}},
        {"patch over a link to the ROM", CreatePatch, "", {"game.smc", "link.bps"},
         {"make-patch", "ROM", "ROM", "@link.bps"}},
        {"palette over a link to the ROM", 0, "paletteExport", {"link.gpl"},
         {"export-palette", "ROM", "0", "@link.gpl"}},
        {"missing picture", ImportSpritePng, "", {"missing.png"}, {"import-sprite", "ROM", "0", "@missing.png"}},
        {"sprite of another size", ImportSpritePng, "", {"small.png"}, {"import-sprite", "ROM", "0", "@small.png"}},
        {"sheet of another size", ImportSheet, "", {"small.png"}, {"import-sheet", "ROM", "@small.png"}},
        {"palette file of garbage", 0, "paletteImport", {"garbage.gpl"},
         {"import-palette", "ROM", "0", "@garbage.gpl"}},
    };
    // The command line first: the window's lock on the ROM would refuse its
    // imports before they read the picture.
    std::vector<std::string> commandLine;
    for (const Case& c : cases) commandLine.push_back(commandLineSays(c.args));
    prompts.nextPath = QString::fromStdString(rom());
    prompts.yesNoAnswer = false; // Create Patch asks for the clean ROM, backup or none
    window->runCommand(OpenRom);
    ASSERT_TRUE(state->romOpen());
    for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(windowSays(cases[i]), commandLine[i]) << cases[i].what;
}

} // namespace
} // namespace tessel::testing
