#include "core/context.h"

namespace vorn {

Context::Context(Platform& platformIn, Transcript& transcriptIn, std::filesystem::path rootIn, std::uint32_t seed)
    : platform(platformIn)
    , transcript(transcriptIn)
    , root(std::move(rootIn))
    , saveRoot(root)
    , rng(seed)
{
    sound.startDirectory = root.string();
}

} // namespace vorn
