#include "platform/key_table.h"

namespace vorn {

namespace {

    bool valid(int virtualKey) { return virtualKey > 0 && virtualKey < 256; }

} // namespace

void KeyTable::press(int virtualKey)
{
    if (!valid(virtualKey))
        return;
    m_held[static_cast<std::size_t>(virtualKey)] = true;
    m_latched[static_cast<std::size_t>(virtualKey)] = true;
}

void KeyTable::release(int virtualKey)
{
    if (valid(virtualKey))
        m_held[static_cast<std::size_t>(virtualKey)] = false;
}

void KeyTable::clear()
{
    m_held.fill(false);
    m_latched.fill(false);
}

bool KeyTable::down(int virtualKey) const
{
    auto at = static_cast<std::size_t>(virtualKey);
    return m_held[at] || m_latched[at];
}

bool KeyTable::held(int virtualKey) const
{
    if (!valid(virtualKey))
        return false;
    switch (virtualKey) {
    case 0x10:
        return down(0xA0) || down(0xA1);
    case 0x11:
        return down(0xA2) || down(0xA3);
    case 0x12:
        return down(0xA4) || down(0xA5);
    default:
        return down(virtualKey);
    }
}

} // namespace vorn
