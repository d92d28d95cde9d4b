#include "interchange/sprite_list.h"

#include <charconv>

#include "model/sprite_store.h"

namespace tessel {

namespace {

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// A sprite number of only digits; -1 for anything else, -2 past the catalogue.
int spriteNumber(std::string_view s)
{
    s = trimmed(s);
    if (s.empty() || s.find_first_not_of("0123456789") != s.npos) return -1;
    if (s.size() > 5) return -2;
    int n = 0;
    std::from_chars(s.data(), s.data() + s.size(), n);
    return n < kSpriteCount ? n : -2;
}

} // namespace

SpriteList parseSpriteList(std::string_view text)
{
    SpriteList list;
    auto fail = [&](ListFault fault, std::string_view item) {
        list.frames.clear();
        list.fault = fault;
        list.item = std::string(trimmed(item));
        return list;
    };
    if (text.size() > kMaxListText) return fail(ListFault::TooLong, {});
    if (trimmed(text).empty()) return list;
    std::size_t from = 0;
    while (true) {
        const std::size_t comma = text.find(',', from);
        const std::string_view item = text.substr(from, comma == text.npos ? text.npos : comma - from);
        if (trimmed(item).empty()) return fail(ListFault::EmptyItem, item);
        const std::size_t dash = item.find('-');
        const int first = spriteNumber(item.substr(0, dash));
        const int last = dash == item.npos ? first : spriteNumber(item.substr(dash + 1));
        if (first == -1 || last == -1) return fail(ListFault::NotANumber, item);
        if (first < 0 || last < 0) return fail(ListFault::OutOfRange, item);
        const int step = last >= first ? 1 : -1;
        if (list.frames.size() + static_cast<std::size_t>((last - first) * step + 1) > kMaxListFrames)
            return fail(ListFault::TooManyFrames, item);
        for (int n = first;; n += step) {
            list.frames.push_back(n);
            if (n == last) break;
        }
        if (comma == text.npos) break;
        from = comma + 1;
    }
    return list;
}

} // namespace tessel
