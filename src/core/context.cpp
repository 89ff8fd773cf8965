#include "core/context.h"

namespace vorn {

Context::Context(Platform& platformIn, Transcript& transcriptIn, std::filesystem::path rootIn, std::uint32_t seed)
    : platform(platformIn)
    , transcript(transcriptIn)
    , root(std::move(rootIn))
    , rng(seed)
{
    sound.startDirectory = root.string();
}

float Context::random()
{
    // 24 random bits give every float in [0, 1) with a step of 2^-24, never 1.
    return static_cast<float>(rng() >> 8) / 16777216.0f;
}

} // namespace vorn
