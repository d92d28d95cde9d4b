// Long seeded runs of random mouse input, tool and sprite changes and every
// selection command, checking after each step that the selection state is
// sound, that it never points a write outside the sprite, and that bytes
// beyond the sprite change only through the whole-store commands.
//
// TESSEL_SOAK_STEPS=n runs n steps per seed instead of the default.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "editor/mouse.h"
#include "editor/sprite_selection.h"
#include "selection/clipboard.h"
#include "selection/flip.h"
#include "selection/selection.h"
#include "selection/tool_choice.h"
#include "support/recording_view.h"
#include "tools/undo.h"

namespace tessel {
namespace {

// Sprites 1..6 take part; 0 and 7 are their untouched neighbours.
constexpr int kFirst = 1, kLast = 6;
constexpr int kSizes[][2] = {{1, 1}, {3, 2}, {8, 10}, {2, 5}, {5, 1}, {8, 10}};

int stepsPerSeed()
{
    const char* text = std::getenv("TESSEL_SOAK_STEPS");
    return text ? std::max(1, std::atoi(text)) : 10000;
}

// What a step's checks need of the state before it.
struct Before {
    int sprite = -1;
    Rect area, selection, clipboardRect;
    int backgroundIndex = 0, undoTop = -1;
    bool figureTool = false;
    PixelBuffer pixels{}, clipboard{}, undoLevel0{}, backup{};

    explicit Before(const EditorState& s)
        : sprite(s.hasSprite() ? s.currentSprite : -1), area(spriteArea(s)),
          selection(s.selection.selectionRect), clipboardRect(s.clipboard.clipboardRect),
          backgroundIndex(s.tools.backgroundIndex), undoTop(s.undo.top),
          figureTool(s.tools.currentTool >= ToolId::Line && s.tools.currentTool <= ToolId::RoundedRectangle),
          pixels(s.hasSprite() ? s.current().pixels : PixelBuffer{}), clipboard(s.clipboard.clipboardPixels),
          undoLevel0(s.undo.levels[0]), backup(s.gesture.backupPixels)
    {
    }
};

class Soak {
public:
    explicit Soak(unsigned seed) : rng_(seed)
    {
        testing::attachForEditing(*state_, view_);
        std::uniform_int_distribution<int> byte(0, 255);
        for (int n = kFirst - 1; n <= kLast + 1; ++n) {
            SpriteRecord& s = state_->document.spriteStore[n];
            s.widthTiles = n >= kFirst && n <= kLast ? kSizes[n - kFirst][0] : 2;
            s.heightTiles = n >= kFirst && n <= kLast ? kSizes[n - kFirst][1] : 2;
            for (auto& v : s.pixels) v = static_cast<std::uint8_t>(byte(rng_));
        }
        selectSprite(*state_, kFirst);
        selectTool(*state_, ToolId::Select);
        for (int n = 0; n <= kLast + 1; ++n) expected_[n] = state_->document.spriteStore[n].pixels;
    }

    // Runs one random step and returns its name.
    std::string step()
    {
        EditorState& s = *state_;
        // Weighted so that floating blocks, also hanging off the sprite,
        // make up a good part of the run.
        int pick = static_cast<int>(rng_() % 100);
        const auto take = [&pick](int weight) { return (pick -= weight) < 0; };
        const Point p = randomPoint();
        if (take(10)) return hover(p), "move " + str(p);
        if (take(6)) return press(p), "press " + str(p);
        if (take(5)) return release(), "release";
        if (take(2)) return doubleClick(p), "double click " + str(p);
        if (take(10)) return gesture(p, false), "band from " + str(p);
        if (take(24)) return gesture(pointInSelection(), true), "grab at " + str(pointInSelection_);
        if (take(1)) return onRightButtonDown(s, p), "right press " + str(p);
        if (take(1)) return onRightButtonUp(s), "right release";
        if (take(2)) {
            const auto tool = static_cast<ToolId>(rng_() % 3 == 0 ? rng_() % 8 : 6);
            selectTool(s, tool);
            return "tool " + std::to_string(static_cast<int>(tool));
        }
        if (take(2)) {
            const int n = rng_() % 12 == 0 ? -1 : kFirst + static_cast<int>(rng_() % (kLast - kFirst + 1));
            selectSprite(s, n);
            return "sprite " + std::to_string(n);
        }
        if (take(3)) return setTransparentSelection(s, !s.tools.transparentSelection), "transparent";
        if (take(2)) {
            // A floating block keeps the key it was composited with until it
            // moves, so the composite check holds only for changes between blocks.
            if (s.selection.selectionFloating) return "background (kept)";
            s.tools.backgroundIndex = static_cast<int>(rng_() % 16);
            return "background " + std::to_string(s.tools.backgroundIndex);
        }
        if (take(5)) return copySelection(s), "copy";
        if (take(3)) return cutSelection(s), "cut";
        if (take(7)) {
            if (!s.window.commands.isEnabled(ids::Paste)) return "paste (grayed)";
            return pasteClipboard(s), "paste";
        }
        if (take(3)) return deleteSelection(s), "delete";
        if (take(6)) return flipHorizontal(s), "h-flip";
        if (take(6)) return flipVertical(s), "v-flip";
        return undo(s), "undo";
    }

    // Checks everything after the step that began in `before`; returns what
    // is wrong, or nothing.
    std::string check(const Before& before, const std::string& action);

    std::unique_ptr<EditorState> state_ = std::make_unique<EditorState>();

private:
    static std::string str(Point p) { return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")"; }

    Point randomPoint()
    {
        // Mostly around the largest sprite image, now and then anywhere.
        const int r = static_cast<int>(rng_() % 50);
        if (r == 0) {
            static constexpr int kFar[] = {INT_MIN, INT_MAX, -(1 << 30), 1 << 30, -100000, 100000};
            return {kFar[rng_() % 6], kFar[rng_() % 6]};
        }
        std::uniform_int_distribution<int> c(-60, 64 * kZoom + 60);
        return {c(rng_), c(rng_)};
    }

    // A client point whose hit test lands in the selection (or anywhere
    // when there is none).
    Point pointInSelection()
    {
        const Rect& r = state_->selection.selectionRect;
        if (r.isEmpty()) return pointInSelection_ = randomPoint();
        std::uniform_int_distribution<int> x(r.left * kZoom, r.right * kZoom - 1);
        std::uniform_int_distribution<int> y(r.top * kZoom, r.bottom * kZoom - 1);
        return pointInSelection_ = Point{x(rng_), y(rng_)};
    }

    // A press, a few moves near it and usually the release.
    void gesture(Point start, bool mayHold)
    {
        hover(start);
        press(start);
        std::uniform_int_distribution<int> d(-90, 90);
        const auto near = [&](int v) {
            return static_cast<int>(std::clamp<long long>(1LL * v + d(rng_), INT_MIN, INT_MAX));
        };
        for (int k = static_cast<int>(rng_() % 4); k > 0; --k) hover({near(start.x), near(start.y)});
        if (!mayHold || rng_() % 5 != 0) release();
    }

    // The mouse as the main window reports it.
    void hover(Point p) { onMouseMove(*state_, p); }
    void press(Point p)
    {
        if (rng_() % 5 != 0) hover(p); // usually the pointer got there by moving
        onLeftButtonDown(*state_, p);
    }
    void release() { onLeftButtonUp(*state_); }
    void doubleClick(Point p)
    {
        press(p);
        release();
        onLeftButtonDoubleClick(*state_, p);
        release();
    }

    testing::RecordingView view_;
    std::mt19937 rng_;
    Point pointInSelection_{};
    std::array<PixelBuffer, kLast + 2> expected_{};
};

std::string Soak::check(const Before& before, const std::string& action)
{
    const EditorState& s = *state_;
    std::ostringstream fault;
    const Rect& r = s.selection.selectionRect;
    const Rect area = spriteArea(s);
    if (s.selection.selectionFloating && r.isEmpty()) fault << "floating with an empty rectangle; ";
    if (s.selection.selectionFloating && (!s.hasSprite() || r.width() > kBufferWidth || r.height() > kBufferHeight))
        fault << "floating block larger than its buffer; ";
    if (!s.selection.selectionFloating && !(r == Rect{})) {
        for (int v : {r.left, r.right})
            if (v < 0 || v > area.right) fault << "rectangle column " << v << " off the sprite; ";
        for (int v : {r.top, r.bottom})
            if (v < 0 || v > area.bottom) fault << "rectangle row " << v << " off the sprite; ";
    }
    const Rect& c = s.clipboard.clipboardRect;
    if (!(c == Rect{}) && (c.left != 0 || c.top != 0 || c.right < 1 || c.right > kBufferWidth ||
                           c.bottom < 1 || c.bottom > kBufferHeight))
        fault << "clipboard rectangle out of the buffer; ";

    // Only the sprite that was current may change, and beyond its W x H
    // only through a whole-store Delete or Paste or an Undo.
    const int n = before.sprite;
    for (int m = 0; m <= kLast + 1; ++m)
        if (m != n && s.document.spriteStore[m].pixels != expected_[m]) fault << "sprite " << m << " changed; ";
    if (n >= 0) {
        const PixelBuffer& now = s.document.spriteStore[n].pixels;
        PixelBuffer want = before.pixels;
        const bool whole = before.selection.isEmpty();
        if ((action == "delete" || action == "cut") && whole)
            want.fill(static_cast<std::uint8_t>(before.backgroundIndex & 15));
        else if (action == "paste" && before.clipboardRect.isEmpty())
            want = before.clipboard;
        else if (action == "undo" && before.undoTop >= 0)
            want = before.undoLevel0;
        // A figure's every drag step starts again from the copy taken at its
        // press, beyond the sprite as well: a whole-store command between
        // the press and a drag step is undone by that step.
        const Rect a = before.area;
        for (int i = 0; i < kBufferSize; ++i)
            if ((i % 64 >= a.right || i / 64 >= a.bottom) && now[i] != want[i] &&
                !(before.figureTool && now[i] == before.backup[i])) {
                fault << "byte " << i << " beyond the sprite changed; ";
                break;
            }
        expected_[n] = now;
    }

    // A floating block: the sprite is the background with the block on it.
    if (s.selection.selectionFloating && s.hasSprite()) {
        PixelBuffer want = s.gesture.backupPixels;
        for (int j = 0; j < r.height(); ++j)
            for (int i = 0; i < r.width(); ++i) {
                const int x = r.left + i, y = r.top + j;
                const std::uint8_t v = s.selection.floatingPixels[j * 64 + i];
                if (x < 0 || y < 0 || x >= area.right || y >= area.bottom) continue;
                if (s.tools.transparentSelection && (v & 15) == s.tools.backgroundIndex) continue;
                want[y * 64 + x] = v;
            }
        if (s.current().pixels != want) fault << "the sprite is not the composite of the floating block; ";
    }
    return fault.str();
}

TEST(SelectionSoak, RandomSequencesKeepTheSelectionSoundAndInBounds)
{
    const int steps = stepsPerSeed();
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        Soak soak(seed);
        for (int i = 0; i < steps; ++i) {
            const Before before(*soak.state_);
            const std::string action = soak.step();
            const std::string fault = soak.check(before, action);
            ASSERT_EQ(fault, "") << "seed " << seed << ", step " << i << ": " << action;
        }
    }
}

} // namespace
} // namespace tessel
