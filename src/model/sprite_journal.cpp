#include "model/sprite_journal.h"

#include <algorithm>

namespace tessel {

// A state's list node, its index slot and its pixels' heap block.
static_assert(sizeof(JournalState) + 4 * sizeof(void*) + 16 <= SpriteJournal::kStateOverhead);

const char* causeName(EditCause cause)
{
    switch (cause) {
    case EditCause::Loaded: return "as loaded";
    case EditCause::Pencil: return "pencil";
    case EditCause::Fill: return "fill";
    case EditCause::Line: return "line";
    case EditCause::Rectangle: return "rectangle";
    case EditCause::Ellipse: return "ellipse";
    case EditCause::RoundedRectangle: return "rounded rectangle";
    case EditCause::Selection: return "move";
    case EditCause::ColourPicker: return "colour picker";
    case EditCause::Cut: return "cut";
    case EditCause::Delete: return "delete";
    case EditCause::Paste: return "paste";
    case EditCause::Import: return "import";
    case EditCause::HorizontalFlip: return "horizontal flip";
    case EditCause::VerticalFlip: return "vertical flip";
    case EditCause::Restore: return "restore";
    case EditCause::Refresh: return "refresh";
    case EditCause::OtherRom: return "taken from the other ROM";
    }
    return "edit";
}

void SpriteJournal::record(int sprite, EditCause cause, JournalClock::time_point time,
                           const std::uint8_t* rows, int stride, int width, int height)
{
    if (width <= 0 || height <= 0) return;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        std::copy_n(rows + static_cast<std::size_t>(y) * stride, width, pixels.begin() + y * width);
    auto own = bySprite_.find(sprite);
    if (own != bySprite_.end() && own->second.back()->pixels == pixels) return; // nothing changed
    // The sprite's own oldest goes first, so that it frees room before any
    // other sprite loses a state to the budget.
    if (own != bySprite_.end() && static_cast<int>(own->second.size()) >= kStatesPerSprite)
        dropOldestOf(sprite);
    const std::size_t cost = pixels.size() + kStateOverhead;
    while (!states_.empty() && bytes_ + cost > kByteBudget) dropOldestOf(states_.front().sprite);
    states_.push_back({nextId_++, sprite, cause, time, width, height, std::move(pixels)});
    bySprite_[sprite].push_back(std::prev(states_.end()));
    bytes_ += cost;
}

void SpriteJournal::dropOldestOf(int sprite)
{
    auto own = bySprite_.find(sprite);
    if (own == bySprite_.end()) return;
    const Iterator oldest = own->second.front();
    own->second.pop_front();
    bytes_ -= oldest->pixels.size() + kStateOverhead;
    states_.erase(oldest);
    if (own->second.empty()) bySprite_.erase(own);
}

std::vector<const JournalState*> SpriteJournal::statesOf(int sprite) const
{
    std::vector<const JournalState*> out;
    auto own = bySprite_.find(sprite);
    if (own == bySprite_.end()) return out;
    out.reserve(own->second.size());
    for (const Iterator& it : own->second) out.push_back(&*it);
    return out;
}

const JournalState* SpriteJournal::find(std::uint64_t id) const
{
    for (const JournalState& s : states_)
        if (s.id == id) return &s;
    return nullptr;
}

void SpriteJournal::clear()
{
    bySprite_.clear();
    states_.clear();
    bytes_ = 0;
    pending_.reset();
}

void SpriteJournal::begin(int sprite, EditCause cause, JournalClock::time_point time)
{
    pending_ = PendingEdit{sprite, cause, time};
}

std::optional<PendingEdit> SpriteJournal::takePending()
{
    std::optional<PendingEdit> out = pending_;
    pending_.reset();
    return out;
}

} // namespace tessel
