// A picture's copy mode set for one scope: the mode it had comes back when the scope ends, on
// every way out of it.
#pragma once

#include "platform/picture.h"

namespace vorn {

class CopyModeScope {
public:
    // Keeps the picture's mode, to be put back at the end of the scope.
    explicit CopyModeScope(Picture& picture)
        : m_picture(picture)
        , m_saved(picture.mode)
    {
    }
    // Sets `mode` for the scope.
    CopyModeScope(Picture& picture, CopyMode mode)
        : CopyModeScope(picture)
    {
        picture.mode = mode;
    }
    ~CopyModeScope() { m_picture.mode = m_saved; }
    CopyModeScope(const CopyModeScope&) = delete;
    CopyModeScope& operator=(const CopyModeScope&) = delete;

private:
    Picture& m_picture;
    CopyMode m_saved;
};

} // namespace vorn
