#include "model/rom_document.h"

#include <gtest/gtest.h>
#include <memory>

#include "model/edit_marks.h"
#include "model/editor_state.h"
#include "support/recording_view.h"

namespace tessel {
namespace {

struct CountingObserver : DocumentObserver {
    int marks = 0;
    void editMarksChanged() override { ++marks; }
};

TEST(RomDocument, EditMarksAreAnnouncedWhenTheyFlip)
{
    auto state = std::make_unique<EditorState>();
    testing::RecordingView view;
    state->window.view = &view;
    CountingObserver observer;
    RomDocument& document = state->document;
    ASSERT_TRUE(document.addObserver(&observer));

    struct Step {
        void (*edit)(RomDocument&);
        int marks; // announcements so far
    } steps[] = {
        {[](RomDocument& d) { markSpriteEdited(d, 4); }, 1},
        {[](RomDocument& d) { markSpriteEdited(d, 4); }, 1}, // already marked
        {[](RomDocument& d) { markSpriteEdited(d, kSpriteCount); }, 1},
        {[](RomDocument& d) { clearSpriteEdited(d, 5); }, 1}, // was never marked
        {[](RomDocument& d) { markSpriteEdited(d, 6); }, 2},
        {[](RomDocument& d) { clearAllEditMarks(d); }, 3},
        {[](RomDocument& d) { clearAllEditMarks(d); }, 3}, // nothing was marked
    };
    for (const Step& step : steps) {
        step.edit(document);
        EXPECT_EQ(observer.marks, step.marks);
        EXPECT_EQ(view.editMarkChanges, step.marks) << "the editor's view hears what the document says";
    }

    document.removeObserver(&observer);
    markSpriteEdited(document, 1);
    EXPECT_EQ(observer.marks, 3);
    EXPECT_EQ(view.editMarkChanges, 4);
}

TEST(RomDocument, ObserverPlacesAreFixed)
{
    auto document = std::make_unique<RomDocument>();
    CountingObserver o[5];
    EXPECT_FALSE(document->addObserver(nullptr));
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(document->addObserver(&o[i])) << i;
    EXPECT_FALSE(document->addObserver(&o[4])) << "every place is taken";
    document->removeObserver(&o[1]);
    EXPECT_FALSE(document->addObserver(&o[0])) << "already there";
    EXPECT_TRUE(document->addObserver(&o[4]));

    markSpriteEdited(*document, 0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(o[i].marks, i == 1 ? 0 : 1) << i;
}

} // namespace
} // namespace tessel
