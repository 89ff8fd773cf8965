// The game's one random source: every draw of the game (encounters, wandering, script random
// values, battles) comes from here, in order, so a seed and an input timeline reproduce a run.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <random>

namespace vorn {

class Random {
public:
    explicit Random(std::uint32_t seed = 0)
        : engine_(seed)
    {
    }

    void seed(std::uint32_t value)
    {
        engine_.seed(value);
        given_.clear();
    }

    // A value uniform in [0, 1), never 1. Values handed over with give() come first, in order.
    float next()
    {
        if (!given_.empty()) {
            float value = given_.front();
            given_.pop_front();
            return value;
        }
        // 24 random bits give every float in [0, 1) with a step of 2^-24.
        return static_cast<float>(engine_() >> 8) / 16777216.0f;
    }

    // For tests: the next draws return exactly these values, so a rule can be driven through a
    // chosen sequence of draws.
    void give(std::initializer_list<float> values) { given_.insert(given_.end(), values); }
    // Draws handed over with give() and not taken yet.
    std::size_t givenLeft() const { return given_.size(); }

private:
    std::mt19937 engine_;
    std::deque<float> given_;
};

} // namespace vorn
