#include "file/system_reason.h"
#include "dialogs/palette_editor_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <cerrno>

#include "editor/rom_commands.h"
#include "support/fake_prompts.h"
#include "support/fault_io.h"
#include "support/rom_fixture.h"
#include "widgets/color_swatch.h"

namespace tessel {
namespace {

using testing::expectedRawColour;

// Raw (r, g, b) as the editor's own swatches show it: 8 v + 7 each.
QColor shown(int r, int g, int b) { return QColor(8 * r + 7, 8 * g + 7, 8 * b + 7); }

class PaletteEditorTest : public ::testing::Test {
protected:
    testing::FaultIo io;
    testing::RomFixture rom{{}, io};
    EditorState& state = rom.state();
    testing::FakePrompts prompts;
    int palette = -1;

    void SetUp() override
    {
        // A sprite whose palette is not 0, and a foreground colour not 0.
        for (int s = 0; s < kSpriteCount && palette < 0; ++s) {
            if (state.document.spriteStore[s].paletteIndex > 0) {
                state.currentSprite = s;
                palette = state.document.spriteStore[s].paletteIndex;
            }
        }
        ASSERT_GT(palette, 0);
        state.tools.foregroundIndex = 5;
    }

    template <typename T>
    static T* control(PaletteEditorDialog& d, int id)
    {
        T* c = d.findChild<T*>(QString::number(id));
        EXPECT_NE(c, nullptr) << "control " << id;
        return c;
    }
    static QColor previewOf(PaletteEditorDialog& d) { return control<ColorSwatch>(d, 1099)->color(); }
    static QString field(PaletteEditorDialog& d, int i) { return control<QLineEdit>(d, 1096 + i)->text(); }
    static int slider(PaletteEditorDialog& d, int i) { return control<QSlider>(d, 1075 + i)->value(); }
    static void typeInto(PaletteEditorDialog& d, int i, const QString& text)
    {
        QLineEdit* f = control<QLineEdit>(d, 1096 + i);
        f->selectAll();
        QTest::keyClick(f, Qt::Key_Backspace);
        QTest::keyClicks(f, text);
    }
};

TEST_F(PaletteEditorTest, OpensOnTheCurrentPaletteAndForegroundColour)
{
    PaletteEditorDialog d(state, prompts);
    EXPECT_EQ(d.windowTitle(), "Palette Editor");
    EXPECT_EQ(control<QComboBox>(d, 1078)->count(), 32);
    EXPECT_EQ(control<QComboBox>(d, 1078)->currentText(), QStringLiteral("Palette %1").arg(palette));
    EXPECT_EQ(d.editedPalette(), palette);

    const auto c = expectedRawColour(palette, 5);
    for (int k = 0; k < 16; ++k) {
        auto* swatch = control<ColorSwatch>(d, 1080 + k);
        // Colour 0 is never read from the ROM: it stays raw (0, 0, 0).
        const auto raw = k == 0 ? testing::ExpectedColour{} : expectedRawColour(palette, k);
        EXPECT_EQ(swatch->color(), shown(raw.red, raw.green, raw.blue)) << k;
        EXPECT_EQ(swatch->border(), int(k == 5 ? SwatchBorder::Blue : SwatchBorder::Shaded)) << k;
        EXPECT_EQ(swatch->swatchWidth(), 24);
        EXPECT_EQ(swatch->swatchHeight(), 18);
    }
    EXPECT_EQ(slider(d, 0), c.red);
    EXPECT_EQ(slider(d, 1), c.green);
    EXPECT_EQ(slider(d, 2), c.blue);
    EXPECT_EQ(field(d, 0), QString::number(c.red));
    EXPECT_EQ(field(d, 2), QString::number(c.blue));
    auto* preview = control<ColorSwatch>(d, 1099);
    EXPECT_EQ(preview->color(), shown(c.red, c.green, c.blue));
    EXPECT_EQ(preview->border(), int(SwatchBorder::Black));
    EXPECT_EQ(preview->swatchWidth(), 29);
    EXPECT_EQ(preview->swatchHeight(), 21);
}

TEST_F(PaletteEditorTest, SlidersAndFieldsFollowEachOtherWithoutFeedback)
{
    PaletteEditorDialog d(state, prompts);
    const RawPalette before = d.workingCopy();
    QSignalSpy redText(control<QLineEdit>(d, 1096), &QLineEdit::textChanged);
    QSignalSpy greenSlider(control<QSlider>(d, 1076), &QSlider::valueChanged);

    control<QSlider>(d, 1075)->setValue(31);
    EXPECT_EQ(field(d, 0), "31");
    EXPECT_EQ(redText.count(), 1);
    EXPECT_EQ(previewOf(d).red(), 255);
    EXPECT_EQ(d.composedRed(), 31);
    // Composing touches neither the working copy nor the swatch.
    EXPECT_EQ(d.workingCopy().red, before.red);
    EXPECT_EQ(control<ColorSwatch>(d, 1085)->color().red(), 8 * before.red[5] + 7);

    // Typing moves the slider, and the fields are not rewritten meanwhile.
    typeInto(d, 1, "07");
    EXPECT_EQ(slider(d, 1), 7);
    EXPECT_EQ(field(d, 1), "07");
    EXPECT_EQ(field(d, 0), "31");
    EXPECT_EQ(d.composedGreen(), 7);
    EXPECT_EQ(previewOf(d), shown(31, 7, d.composedBlue()));
    EXPECT_EQ(greenSlider.last().at(0).toInt(), 7);
    EXPECT_EQ(redText.count(), 1);
}

TEST_F(PaletteEditorTest, NumbersOutsideTheRangeNeverReachThePalette)
{
    PaletteEditorDialog d(state, prompts);
    // The field takes 0..31 only: the 5 of "45" and the minus are refused.
    typeInto(d, 0, "45");
    EXPECT_EQ(field(d, 0), "4");
    EXPECT_EQ(d.composedRed(), 4);
    typeInto(d, 0, "-3");
    EXPECT_EQ(field(d, 0), "3");
    typeInto(d, 0, "32");
    EXPECT_EQ(field(d, 0), "3");

    // Text put there some other way is clamped when read.
    control<QLineEdit>(d, 1096)->setText("40");
    EXPECT_EQ(d.composedRed(), 31);
    EXPECT_EQ(slider(d, 0), 31);
    control<QLineEdit>(d, 1097)->setText("-1");
    EXPECT_EQ(d.composedGreen(), 0);
    control<QLineEdit>(d, 1098)->setText("x");
    EXPECT_EQ(d.composedBlue(), 0);
    EXPECT_EQ(previewOf(d), shown(31, 0, 0));

    control<QPushButton>(d, 1100)->click();
    EXPECT_EQ(d.workingCopy().red[5], 31);
    EXPECT_EQ(d.workingCopy().green[5], 0);
}

TEST_F(PaletteEditorTest, ColourChooserConvertsBothWays)
{
    PaletteEditorDialog d(state, prompts);
    typeInto(d, 0, "0");
    typeInto(d, 1, "1");
    typeInto(d, 2, "31");

    prompts.colourAnswer = QColor(255, 0, 0);
    control<QPushButton>(d, 1104)->click();
    ASSERT_EQ(prompts.chooserInitials.size(), 1u);
    // 0 opens as 0 (not 7); other components as 8 v + 7.
    EXPECT_EQ(prompts.chooserInitials.back(), QColor(0, 15, 255));
    EXPECT_EQ(d.composedRed(), 31);
    EXPECT_EQ(d.composedGreen(), 0);
    EXPECT_EQ(d.composedBlue(), 0);
    EXPECT_EQ(slider(d, 0), 31);
    EXPECT_EQ(field(d, 1), "0");

    prompts.colourAnswer = QColor(100, 100, 100);
    control<QPushButton>(d, 1104)->click();
    EXPECT_EQ(prompts.chooserInitials.back(), QColor(255, 0, 0));
    EXPECT_EQ(d.composedRed(), 12);
    EXPECT_EQ(d.composedGreen(), 12);
    EXPECT_EQ(d.composedBlue(), 12);
    EXPECT_EQ(field(d, 2), "12");

    // Cancelling changes nothing; nor does choosing touch the working copy.
    prompts.colourAnswer.reset();
    control<QPushButton>(d, 1104)->click();
    EXPECT_EQ(d.composedRed(), 12);
    EXPECT_EQ(d.workingCopy().red[5], expectedRawColour(palette, 5).red);
}

TEST_F(PaletteEditorTest, AddedColourIsDroppedWhenAnotherPaletteIsChosen)
{
    PaletteEditorDialog d(state, prompts);
    control<ColorSwatch>(d, 1083)->setFocus();
    QTest::mouseClick(control<ColorSwatch>(d, 1083), Qt::LeftButton);
    EXPECT_EQ(d.selectedColour(), 3);
    EXPECT_EQ(control<ColorSwatch>(d, 1083)->border(), int(SwatchBorder::Blue));
    EXPECT_EQ(control<ColorSwatch>(d, 1085)->border(), int(SwatchBorder::Shaded));

    control<QSlider>(d, 1075)->setValue(1);
    control<QSlider>(d, 1076)->setValue(2);
    control<QSlider>(d, 1077)->setValue(3);
    control<QPushButton>(d, 1100)->click();
    EXPECT_EQ(control<ColorSwatch>(d, 1083)->color(), shown(1, 2, 3));
    EXPECT_EQ(d.workingCopy().blue[3], 3);
    EXPECT_EQ(state.document.rawPalettes[palette].blue[3], expectedRawColour(palette, 3).blue);

    auto* combo = control<QComboBox>(d, 1078);
    combo->setCurrentIndex((palette + 1) % 32);
    EXPECT_EQ(d.selectedColour(), 0);
    combo->setCurrentIndex(palette);
    const auto stored = expectedRawColour(palette, 3);
    EXPECT_EQ(control<ColorSwatch>(d, 1083)->color(), shown(stored.red, stored.green, stored.blue));
    EXPECT_EQ(rom.fileBytes(), rom.original);
}

// The 16-bit word the game stores for raw (r, g, b): blue in bits 10-14,
// green in 5-9, red in 0-4, low byte first.
TEST_F(PaletteEditorTest, ApplyWritesOnlyTheChangedColour)
{
    PaletteEditorDialog d(state, prompts);
    QTest::mouseClick(control<ColorSwatch>(d, 1081), Qt::LeftButton);
    control<QSlider>(d, 1075)->setValue(1);
    control<QSlider>(d, 1076)->setValue(2);
    control<QSlider>(d, 1077)->setValue(3);
    control<QPushButton>(d, 1100)->click();
    control<QPushButton>(d, 1079)->click();
    EXPECT_TRUE(prompts.errors.isEmpty());

    // Colour 1 as chosen (1, 2, 3) = 0x0C41; every other byte as it was,
    // the other colours' words and their top bits included.
    std::vector<std::uint8_t> expected = rom.original;
    const long long first = 0x30202 + 32 * palette;
    expected[first] = 0x41;
    expected[first + 1] = 0x0C;
    EXPECT_EQ(rom.fileBytes(), expected);
    // The store was read back from the file.
    EXPECT_EQ(state.document.rawPalettes[palette].green[1], 2);
    EXPECT_EQ(state.document.displayPalettes[palette].blue[1], 31);
}

TEST_F(PaletteEditorTest, ApplyWithoutAnOpenRomWritesNothingAndSaysSo)
{
    PaletteEditorDialog d(state, prompts);
    control<QSlider>(d, 1075)->setValue(9);
    control<QPushButton>(d, 1100)->click();
    closeRom(state);
    control<QPushButton>(d, 1079)->click();
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(rom.fileBytes(), rom.original);
}

TEST_F(PaletteEditorTest, FailedWriteIsReported)
{
    PaletteEditorDialog d(state, prompts);
    QTest::mouseClick(control<ColorSwatch>(d, 1081), Qt::LeftButton);
    control<QSlider>(d, 1075)->setValue(control<QSlider>(d, 1075)->value() ^ 1);
    control<QPushButton>(d, 1100)->click();
    io.failOn(testing::IoOp::Pwrite, 1, ENOSPC, true);
    control<QPushButton>(d, 1079)->click();
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(QString::fromStdString(systemReason(ENOSPC))))
        << prompts.errors[0].toStdString();
}

TEST_F(PaletteEditorTest, ColourZeroCannotBeAddedAndTheComposedWordShows)
{
    PaletteEditorDialog d(state, prompts);
    auto* add = control<QPushButton>(d, 1100);
    EXPECT_TRUE(add->isEnabled());
    QTest::mouseClick(control<ColorSwatch>(d, 1080), Qt::LeftButton);
    EXPECT_FALSE(add->isEnabled());
    EXPECT_EQ(d.findChild<QLabel*>("colourZeroNote")->text(), "Color 0: transparent, not stored");
    QTest::mouseClick(control<ColorSwatch>(d, 1082), Qt::LeftButton);
    EXPECT_TRUE(add->isEnabled());
    control<QSlider>(d, 1075)->setValue(1);
    control<QSlider>(d, 1076)->setValue(2);
    control<QSlider>(d, 1077)->setValue(31);
    EXPECT_EQ(d.findChild<QLabel*>("composedWord")->text(), "$7C41");
}

TEST_F(PaletteEditorTest, ClosingWithAddedColoursAsksToApplyThem)
{
    const struct {
        SaveChoice answer;
        bool staysOpen, written;
    } cases[] = {{SaveChoice::Cancel, true, false},
                 {SaveChoice::Discard, false, false},
                 {SaveChoice::Save, false, true}};
    for (const auto& c : cases) {
        PaletteEditorDialog d(state, prompts);
        QSignalSpy unapplied(&d, &PaletteEditorDialog::unappliedChangesChanged);
        d.show();
        d.reject(); // nothing added: no question
        EXPECT_TRUE(prompts.applyQuestions.empty());
        d.show();
        control<QSlider>(d, 1075)->setValue((state.document.rawPalettes[palette].red[5] + 1) % 32);
        control<QPushButton>(d, 1100)->click();
        ASSERT_FALSE(unapplied.isEmpty());
        EXPECT_TRUE(unapplied.last().at(0).toBool());
        prompts.applyAnswer = c.answer;
        QTest::keyClick(&d, Qt::Key_Escape);
        ASSERT_EQ(prompts.applyQuestions.size(), 1u);
        EXPECT_EQ(prompts.applyQuestions.front(), palette);
        prompts.applyQuestions.clear();
        EXPECT_EQ(d.isVisible(), c.staysOpen);
        EXPECT_EQ(rom.fileBytes() != rom.original, c.written);
    }
}

TEST_F(PaletteEditorTest, EnterPressesTheFocusedButtonAndCloseOtherwise)
{
    PaletteEditorDialog d(state, prompts);
    QSignalSpy written(&d, &PaletteEditorDialog::paletteWritten);
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    control<QSlider>(d, 1075)->setValue((state.document.rawPalettes[palette].red[5] + 1) % 32);
    auto* add = control<QPushButton>(d, 1100);
    add->setFocus();
    QTest::keyClick(add, Qt::Key_Return);
    EXPECT_TRUE(d.hasUnappliedChanges());
    auto* apply = control<QPushButton>(d, 1079);
    apply->setFocus();
    QTest::keyClick(apply, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(written.count(), 1);
    EXPECT_FALSE(d.hasUnappliedChanges());
    auto* field = control<QLineEdit>(d, 1097);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
}

} // namespace
} // namespace tessel
