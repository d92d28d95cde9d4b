// The one result type of everything that can fail: a value, or a sentence
// for the user saying why there is none (with the system's reason where the
// system gave one). Nothing in the core throws across its interface;
// hostile input and failed system calls end as a sentence.
//
//   Outcome<T>     ok and a value, or !ok and `error`
//   IoResult       Outcome<void>: ok, or !ok and `error`
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
    explicit operator bool() const { return ok; }
};

template <>
struct Outcome<void> {
    bool ok = true;
    std::string error; // for the user; empty when ok

    static Outcome success() { return {}; }
    static Outcome failure(std::string why) { return {false, std::move(why)}; }
    explicit operator bool() const { return ok; }
};

using IoResult = Outcome<void>;

} // namespace tessel
