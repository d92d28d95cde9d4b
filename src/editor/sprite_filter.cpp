#include "editor/sprite_filter.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "model/edit_marks.h"

namespace tessel {

namespace {

constexpr int kMaxWidthTiles = kBufferWidth / 8;   // 8
constexpr int kMaxHeightTiles = kBufferHeight / 8; // 10
// The multiplication sign as UTF-8, for "2×3".
constexpr std::string_view kTimes = "\xc3\x97";

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool allDigits(std::string_view s) { return !s.empty() && std::all_of(s.begin(), s.end(), isDigit); }

char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowerCase(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), lowered);
    return out;
}

// Digits as a number; one too large for an int reads as the largest int,
// which is past every limit.
int numberOf(std::string_view digits)
{
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::numeric_limits<int>::max();
    return value;
}

bool inSpriteRange(int n) { return n >= 0 && n < kSpriteCount; }

// Reads one term into `filter`; false with `problem` set when it cannot.
bool readTerm(std::string_view term, SpriteFilter& filter, FilterProblem& problem)
{
    const std::string t = lowerCase(term);
    auto fail = [&](FilterProblem::Kind kind) {
        problem = {kind, std::string(term)};
        return false;
    };
    if (allDigits(t)) {
        const int n = numberOf(t);
        if (!inSpriteRange(n)) return fail(FilterProblem::Kind::NoSuchSprite);
        filter.numbers.push_back({n, n});
        return true;
    }
    if (t.find('-') != std::string::npos && std::all_of(t.begin(), t.end(), [](char c) { return isDigit(c) || c == '-'; }) &&
        std::any_of(t.begin(), t.end(), isDigit)) {
        const std::size_t dash = t.find('-');
        const std::string_view first = std::string_view(t).substr(0, dash);
        const std::string_view last = std::string_view(t).substr(dash + 1);
        if (!allDigits(first) || !allDigits(last)) return fail(FilterProblem::Kind::BadRange);
        const int a = numberOf(first), b = numberOf(last);
        if (!inSpriteRange(a) || !inSpriteRange(b)) return fail(FilterProblem::Kind::NoSuchSprite);
        filter.numbers.push_back({std::min(a, b), std::max(a, b)});
        return true;
    }
    for (std::string_view times : {std::string_view("x"), kTimes}) {
        const std::size_t at = t.find(times);
        if (at == std::string::npos) continue;
        const std::string_view w = std::string_view(t).substr(0, at);
        const std::string_view h = std::string_view(t).substr(at + times.size());
        if (!allDigits(w) || !allDigits(h)) continue;
        const int wt = numberOf(w), ht = numberOf(h);
        if (wt < 1 || wt > kMaxWidthTiles || ht < 1 || ht > kMaxHeightTiles)
            return fail(FilterProblem::Kind::NoSuchSize);
        filter.sizes.push_back({wt, ht});
        return true;
    }
    if (t.size() > 1 && t[0] == 'p' && allDigits(std::string_view(t).substr(1))) {
        const int p = numberOf(std::string_view(t).substr(1));
        if (p >= kPaletteCount) return fail(FilterProblem::Kind::NoSuchPalette);
        filter.palettes.push_back(p);
        return true;
    }
    if (t == "edited") filter.edited = true;
    else if (t == "starred") filter.starred = true;
    else if (t == "differs") filter.differs = true;
    else filter.words.push_back(t);
    return true;
}

template <typename T, typename Pred>
bool anyOrNone(const std::vector<T>& terms, Pred pred)
{
    return terms.empty() || std::any_of(terms.begin(), terms.end(), pred);
}

} // namespace

bool SpriteFilter::empty() const
{
    return numbers.empty() && sizes.empty() && palettes.empty() && !edited && !needsTags();
}

ParsedFilter parseSpriteFilter(std::string_view text)
{
    ParsedFilter parsed;
    std::size_t i = 0;
    while (i < text.size()) {
        auto separator = [](char c) { return c == ' ' || c == '\t' || c == ','; };
        while (i < text.size() && separator(text[i])) ++i;
        std::size_t end = i;
        while (end < text.size() && !separator(text[end])) ++end;
        if (end > i && !readTerm(text.substr(i, end - i), parsed.filter, parsed.problem)) return parsed;
        i = end;
    }
    return parsed;
}

bool spritePasses(const SpriteFilter& filter, const RomDocument& document, int sprite,
                  const SpriteTagsSource& tags)
{
    const SpriteRecord& r = document.spriteStore[sprite];
    if (!anyOrNone(filter.numbers, [&](const SpriteFilter::Range& n) { return sprite >= n.first && sprite <= n.last; }))
        return false;
    if (!anyOrNone(filter.sizes, [&](const SpriteFilter::Size& s) {
            return r.widthTiles == s.widthTiles && r.heightTiles == s.heightTiles;
        }))
        return false;
    if (!anyOrNone(filter.palettes, [&](int p) { return (r.paletteIndex & 31) == p; })) return false;
    if (filter.edited && !isSpriteEdited(document, sprite)) return false;
    if (!filter.needsTags()) return true;
    const SpriteTags t = tags ? tags(sprite) : SpriteTags{};
    if ((filter.starred && !t.starred) || (filter.differs && !t.differs)) return false;
    if (filter.words.empty()) return true;
    const std::string name = lowerCase(t.name);
    return std::all_of(filter.words.begin(), filter.words.end(),
                       [&](const std::string& w) { return name.find(w) != std::string::npos; });
}

std::vector<int> filterSprites(const SpriteFilter& filter, const RomDocument& document,
                               const SpriteTagsSource& tags)
{
    std::vector<int> passing;
    passing.reserve(kSpriteCount);
    for (int s = 0; s < kSpriteCount; ++s)
        if (spritePasses(filter, document, s, tags)) passing.push_back(s);
    return passing;
}

} // namespace tessel
