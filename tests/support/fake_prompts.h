// Scripted answers for every question the program asks, for UI tests.
// Each call is recorded so that tests can check what the user was shown.
#pragma once

#include <QStringList>
#include <deque>

#include "widgets/user_prompts.h"

namespace tessel::testing {

class FakePrompts : public UserPrompts {
public:
    QString nextPath;                        // answer of the next file dialog
    QString lastStartFolder;                 // the folder the last one showed first
    bool yesNoAnswer = true;
    SaveChoice saveAnswer = SaveChoice::Discard;
    SaveChoice applyAnswer = SaveChoice::Discard;
    std::optional<QColor> colourAnswer;
    RecoveryChoice restoreAnswer = RecoveryChoice::Restore;

    QStringList informations;
    QStringList errors;
    QStringList questions;
    int saveQuestions = 0;
    QStringList saveQuestionRoms;      // the ROM each save question named
    std::deque<int> saveQuestionCounts; // and how many sprites it counted
    std::deque<int> applyQuestions;    // the palette each apply question named
    int plainErrors = 0;               // errors shown as plain boxes
    int defaultNoQuestions = 0;        // questions of those with No as the default
    int fileDialogs = 0;
    std::deque<QColor> chooserInitials;
    QStringList restoreQuestions;
    int recoveryRowAnswer = -1;           // the row Recover Edits picks
    QList<QStringList> recoveryRowsShown; // the rows it was shown
    int chooseRecoveryFile(QWidget*, const QList<QStringList>& rows) override { return recoveryRowsShown = rows, recoveryRowAnswer; }

    QString openRomPath(QWidget*, const QString& startFolder) override
    {
        ++fileDialogs;
        lastStartFolder = startFolder;
        return nextPath;
    }
    // Picture, palette and patch dialogs answer from `nextPaths` first, then
    // with `nextPath`; each records its caption.
    std::deque<QString> nextPaths;
    QStringList fileCaptions;
    QString openFilePath(QWidget*, const QString& caption, const QString&) override
    {
        return fileAnswer(caption);
    }
    QString saveFilePath(QWidget*, const QString& caption, const QString&) override
    {
        return fileAnswer(caption);
    }
    // Where the dialogs started, and the filter the user picks (the
    // dialog's first when empty).
    QStringList fileStarts;
    QString nextFilter;
    std::deque<int> paletteNumberAnswers; // nothing left: the offered one
    QString openFile(QWidget*, const FileDialog& d) override
    {
        fileStarts << d.start;
        return fileAnswer(d.caption);
    }
    QString saveFile(QWidget*, const FileDialog& d) override
    {
        fileStarts << d.start;
        if (d.chosenFilter) *d.chosenFilter = nextFilter.isEmpty() ? d.filter.section(QStringLiteral(";;"), 0, 0) : nextFilter;
        return fileAnswer(d.caption);
    }
    std::optional<int> choosePaletteNumber(QWidget*, const QString&, int initial, int) override
    {
        if (paletteNumberAnswers.empty()) return initial;
        const int n = paletteNumberAnswers.front();
        paletteNumberAnswers.pop_front();
        return n;
    }
    QString fileAnswer(const QString& caption)
    {
        ++fileDialogs;
        fileCaptions << caption;
        if (nextPaths.empty()) return nextPath;
        QString path = nextPaths.front();
        nextPaths.pop_front();
        return path;
    }
    void information(QWidget*, const QString& text) override { informations << text; }
    void error(QWidget*, const QString& text) override { errors << text; }
    void plainError(QWidget*, const QString& text) override
    {
        ++plainErrors;
        errors << text;
    }
    bool askYesNo(QWidget*, const QString& text) override
    {
        questions << text;
        return yesNoAnswer;
    }
    bool askYesNoDefaultNo(QWidget*, const QString& text) override
    {
        ++defaultNoQuestions;
        questions << text;
        return yesNoAnswer;
    }
    SaveChoice askSaveChanges(QWidget*, const QString& romName, int editedSprites) override
    {
        ++saveQuestions;
        saveQuestionRoms << romName;
        saveQuestionCounts.push_back(editedSprites);
        return saveAnswer;
    }
    SaveChoice askApplyPalette(QWidget*, int palette) override
    {
        applyQuestions.push_back(palette);
        return applyAnswer;
    }
    std::optional<QColor> chooseColour(QWidget*, const QColor& initial) override
    {
        chooserInitials.push_back(initial);
        return colourAnswer;
    }
    std::optional<QString> nameAnswer; // Name Sprite's; nothing: cancelled
    std::deque<int> nameQuestions;     // the sprite each one named
    std::optional<QString> askSpriteName(QWidget*, int sprite, const QString&) override
    {
        nameQuestions.push_back(sprite);
        return nameAnswer;
    }
    RecoveryChoice askRestoreEdits(QWidget*, const QString& text) override
    {
        restoreQuestions << text;
        return restoreAnswer;
    }
};

} // namespace tessel::testing
