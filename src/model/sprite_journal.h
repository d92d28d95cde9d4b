// The history of this run: per sprite, the states its pixels went through,
// each with its time and what made it. It is kept apart from the undo
// stack and outlives what empties that stack (another sprite, Refresh, the
// palette editor); opening or closing a ROM empties it, and nothing of it
// is written anywhere.
//
// record() adds a state, oldest first per sprite. A state equal to the
// sprite's newest one adds nothing. Past 100 states of one sprite its
// oldest goes; past 8 MiB in all, the oldest states of any sprite go,
// until the new one fits. Each state keeps the sprite's W x H pixels, row
// by row, and counts them and kStateOverhead bytes for its bookkeeping.
//
// The edit that is under way: begin() notes the sprite and the cause when
// an edit starts (its undo snapshot); its outcome is known only later, so
// takePending() hands that note over once, for the caller to record the
// sprite's pixels as they are then.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <list>
#include <map>
#include <optional>
#include <vector>

namespace tessel {

enum class EditCause : std::int32_t {
    Loaded,
    Pencil,
    Fill,
    Line,
    Rectangle,
    Ellipse,
    RoundedRectangle,
    Selection,
    ColourPicker,
    Cut,
    Delete,
    Paste,
    Import,
    HorizontalFlip,
    VerticalFlip,
    Restore,
    Refresh,
    OtherRom,
};

// "pencil", "fill", … as the history lists it.
const char* causeName(EditCause cause);

using JournalClock = std::chrono::system_clock;

struct JournalState {
    std::uint64_t id = 0; // unique in the run, rising
    int sprite = 0;
    EditCause cause = EditCause::Loaded;
    JournalClock::time_point time{};
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels; // width x height, row by row
};

struct PendingEdit {
    int sprite = -1;
    EditCause cause = EditCause::Loaded;
    JournalClock::time_point time{};
};

class SpriteJournal {
public:
    static constexpr int kStatesPerSprite = 100;
    static constexpr std::size_t kByteBudget = 8u << 20;
    static constexpr std::size_t kStateOverhead = 128;

    // `rows` points at the sprite's first row, `stride` bytes apart.
    void record(int sprite, EditCause cause, JournalClock::time_point time,
                const std::uint8_t* rows, int stride, int width, int height);
    // The sprite's states, oldest first.
    std::vector<const JournalState*> statesOf(int sprite) const;
    bool hasStates(int sprite) const { return bySprite_.count(sprite) != 0; }
    const JournalState* find(std::uint64_t id) const;
    std::size_t size() const { return states_.size(); }
    std::size_t bytes() const { return bytes_; }
    void clear();

    void begin(int sprite, EditCause cause, JournalClock::time_point time);
    std::optional<PendingEdit> takePending();

private:
    using Iterator = std::list<JournalState>::iterator;
    void dropOldestOf(int sprite);

    std::list<JournalState> states_; // oldest first, all sprites
    std::map<int, std::deque<Iterator>> bySprite_;
    std::size_t bytes_ = 0;
    std::uint64_t nextId_ = 1;
    std::optional<PendingEdit> pending_;
};

} // namespace tessel
