// A main-window stand-in for core tests: records what the core asks of the
// window and answers the option edits with values the test sets.
#pragma once

#include <utility>
#include <vector>

#include "model/editor_state.h"

namespace tessel::testing {

class RecordingView final : public EditorView {
public:
    // What the test types into the option edits.
    int lineSizeText = 1;
    int curveRadiusText = 5;

    int repaints = 0;
    int commandChanges = 0;
    int paletteLoads = 0;
    int toolChanges = 0;
    int browserHides = 0;
    int editMarkChanges = 0;
    int lineSizeReads = 0;
    int curveRadiusReads = 0;
    std::vector<std::pair<int, Rgb>> indicators; // (which, colour), in order
    std::vector<int> spriteNumbers;

    void repaintCanvas() override { ++repaints; }
    void commandsChanged() override { ++commandChanges; }
    void paletteSwatchesChanged() override { ++paletteLoads; }
    void indicatorChanged(int which, Rgb colour) override
    {
        indicators.emplace_back(which, colour);
    }
    void spriteNumberChanged(int n) override { spriteNumbers.push_back(n); }
    void toolChanged() override { ++toolChanges; }
    void editMarksChanged() override { ++editMarkChanges; }
    int lineSize() override
    {
        ++lineSizeReads;
        return lineSizeText;
    }
    int curveRadius() override
    {
        ++curveRadiusReads;
        return curveRadiusText;
    }
    void hideBrowser() override { ++browserHides; }
};

// A file whose every operation succeeds without any data behind it, so that
// a test's EditorState has "a ROM open" and its sprites count as editable.
FileIo& openRomStandIn();

// Attaches `view` to `state` and opens the stand-in ROM file.
void attachForEditing(EditorState& state, RecordingView& view);

} // namespace tessel::testing
