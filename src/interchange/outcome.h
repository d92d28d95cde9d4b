// What every import and export of the interchange layer hands back: a value,
// or a message for the user saying why there is none. Nothing here throws
// across its interface; hostile input ends as a message.
#pragma once

#include <string>
#include <utility>

namespace tessel {

template <class T>
struct Outcome {
    bool ok = false;
    std::string error; // for the user; empty when ok
    T value{};

    static Outcome success(T v)
    {
        Outcome o;
        o.ok = true;
        o.value = std::move(v);
        return o;
    }
    static Outcome failure(std::string why)
    {
        Outcome o;
        o.error = std::move(why);
        return o;
    }
};

} // namespace tessel
