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
        : m_engine(seed)
    {
    }

    void seed(std::uint32_t value)
    {
        m_engine.seed(value);
        m_given.clear();
    }

    // A value uniform in [0, 1), never 1. Values handed over with give() come first, in order.
    float next()
    {
        if (!m_given.empty()) {
            float value = m_given.front();
            m_given.pop_front();
            return value;
        }
        // 24 random bits give every float in [0, 1) with a step of 2^-24.
        return static_cast<float>(m_engine() >> 8) / 16777216.0f;
    }

    // For tests: the next draws return exactly these values, so a rule can be driven through a
    // chosen sequence of draws.
    void give(std::initializer_list<float> values) { m_given.insert(m_given.end(), values); }
    // Draws handed over with give() and not taken yet.
    std::size_t givenLeft() const { return m_given.size(); }

private:
    std::mt19937 m_engine;
    std::deque<float> m_given;
};

} // namespace vorn
